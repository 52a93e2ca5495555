// mutex_waiter NAME READY QUIT: waits (at most 20 s) until a mutex NAME exists and opens
// it, signals event READY, waits for event QUIT, then tries to take the mutex at once.
// Exits 0 when it got it, 1 when it is still owned elsewhere, 2 when it was abandoned.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 87;
  HANDLE mutex = nullptr;
  for (int i = 0; i < 2000 && !mutex; ++i) {
    mutex = OpenMutexW(SYNCHRONIZE, FALSE, argv[1]);
    if (!mutex) Sleep(10);
  }
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
  HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
  if (!mutex || !ready || !quit) return 3;
  SetEvent(ready);
  WaitForSingleObject(quit, 60000);
  switch (WaitForSingleObject(mutex, 0)) {
    case WAIT_OBJECT_0: ReleaseMutex(mutex); return 0;
    case WAIT_ABANDONED: return 2;
    default: return 1;
  }
}
