// mutex_holder NAME READY QUIT: creates and owns mutex NAME, signals event READY, and
// holds the mutex until event QUIT is set (at most a minute).
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 87;
  HANDLE mutex = CreateMutexW(nullptr, TRUE, argv[1]);
  HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
  HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
  if (!mutex || !ready || !quit) return 1;
  SetEvent(ready);
  WaitForSingleObject(quit, 60000);
  ReleaseMutex(mutex);
  CloseHandle(mutex);
  return 0;
}
