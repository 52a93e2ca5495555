// The library entry. The C runtime has initialised every module of the library before
// this runs at attach, and finalises them only after this returns at detach.
#include "library/InitUnit.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      pinvale::CreateInstanceMutex();
      DisableThreadLibraryCalls(instance);
      break;
    case DLL_PROCESS_DETACH:
      pinvale::CloseInstanceMutex();
      break;
  }
  return TRUE;
}
