#include "library/InitUnit.h"

namespace pinvale {

UniqueHandle InstanceMutex;

void CreateInstanceMutex() noexcept {
  // Fails when the name belongs to another kind of object; loading goes on regardless.
  InstanceMutex.reset(CreateMutexW(nullptr, FALSE, L"Keelmark"));
}

void CloseInstanceMutex() noexcept { InstanceMutex.reset(); }

}  // namespace pinvale

extern "C" void __stdcall InitializeKeelmark() {}
extern "C" void __stdcall ShutdownKeelmark() {}
