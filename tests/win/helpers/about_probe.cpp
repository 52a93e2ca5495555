// about_probe OUT_FILE: shows the About box of the Pinvale.dll beside this program, writes
// what it finds (a test::BoxInfo, as bytes) into OUT_FILE and closes the box. For tests
// that need the box in a process of its own, such as one started at another resolution.
#include <windows.h>

#include "support/about_box.h"
#include "support/library.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 87;
  test::Library library;
  test::AboutHost host(library.Proc<test::ShowAboutFormFunction>("ShowAboutForm"));
  HWND box = host.WaitForBox();
  if (!box) return 2;
  test::BoxInfo info = test::Inspect(box, host.thread_id());
  HANDLE file = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, &info, sizeof info, &written, nullptr);
  CloseHandle(file);
  PostMessageW(box, WM_CLOSE, 0, 0);
  return host.WaitForReturn() && written == sizeof info ? 0 : 3;
}
