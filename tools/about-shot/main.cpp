// about-shot DONE_FILE [FONT_FILE...]: shows the About box of the Pinvale.dll beside this
// program, prints its window rectangle as "left top width height" once it has painted, and
// closes it when DONE_FILE exists (or after a minute). The font files are added for this
// process only, for a prefix that lacks the fonts a Windows desktop has. The picture itself
// is taken from outside Wine: tools/about-screenshots.sh.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
  HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  if (std::wstring(name) != L"TAboutForm" || !IsWindowVisible(window)) return TRUE;
  reinterpret_cast<Search*>(parameter)->found = window;
  return FALSE;
}

DWORD WINAPI ShowBox(LPVOID show) {
  reinterpret_cast<void(__stdcall*)()>(show)();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: about-shot DONE_FILE [FONT_FILE...]\n");
    return 2;
  }
  for (int i = 2; i < argc; ++i) AddFontResourceExW(argv[i], FR_PRIVATE, nullptr);
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"Pinvale.dll";
  HMODULE library = LoadLibraryW(path.c_str());
  FARPROC show = library ? GetProcAddress(library, "ShowAboutForm") : nullptr;
  if (!show) {
    std::fprintf(stderr, "about-shot: cannot load ShowAboutForm from Pinvale.dll\n");
    return 1;
  }
  DWORD thread_id = 0;
  HANDLE thread = CreateThread(nullptr, 0, ShowBox, reinterpret_cast<LPVOID>(show), 0, &thread_id);
  Search search;
  for (int i = 0; i < 600 && !search.found; ++i) {
    Sleep(50);
    EnumThreadWindows(thread_id, FindBox, reinterpret_cast<LPARAM>(&search));
  }
  if (!search.found) {
    std::fprintf(stderr, "about-shot: no About box appeared\n");
    return 1;
  }
  RedrawWindow(search.found, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(700);  // for the X server to show what Wine drew
  RECT r;
  GetWindowRect(search.found, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::fflush(stdout);
  for (int i = 0; i < 600 && GetFileAttributesW(argv[1]) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
  PostMessageW(search.found, WM_CLOSE, 0, 0);
  DWORD waited = WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  FreeLibrary(library);
  return waited == WAIT_OBJECT_0 ? 0 : 1;
}
