#pragma once
// The instance mutex "Keelmark": it exists while the library is loaded in any process,
// so that other components can tell. The library never waits on it or owns it.
#include "common/handle.h"

namespace pinvale {

extern UniqueHandle InstanceMutex;

void CreateInstanceMutex() noexcept;
void CloseInstanceMutex() noexcept;

}  // namespace pinvale
