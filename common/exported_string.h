#pragma once
// The string conventions of every export: inputs are NUL-terminated UTF-16 read up to
// their first NUL (null reads as empty); outputs are written with one NUL into the
// caller's buffer, and the result is the length in UTF-16 code units without the NUL.
#include <cstdint>
#include <string>
#include <string_view>

namespace pinvale {

std::u16string ReadExportString(const char16_t* text);

// Writes text and a NUL to buffer unless buffer is null; returns the length either way.
std::int32_t WriteExportString(std::u16string_view text, char16_t* buffer);

}  // namespace pinvale
