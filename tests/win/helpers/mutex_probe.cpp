// mutex_probe NAME: exits 0 when a mutex NAME can be opened, else with the error code.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 87;
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, argv[1]);
  if (!mutex) return static_cast<int>(GetLastError());
  CloseHandle(mutex);
  return 0;
}
