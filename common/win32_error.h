#pragma once
#include "common/error.h"
#include "common/win_types.h"

namespace pinvale {

// The system's text for an error code, trailing white space removed.
std::u16string SystemMessage(DWORD code);

[[noreturn]] void ThrowLastError(ErrorClass error_class);

}  // namespace pinvale
