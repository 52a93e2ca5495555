// A demo runner: stands where Sealwork.exe would, and shows what it was handed, the
// command line and the job file as text, instead of locking anything.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

void Print(const std::wstring& text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

int wmain() {
  Print(L"[runner] command line: " + std::wstring(GetCommandLineW()) + L"\n");
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring job = argc > 1 ? argv[1] : L"";
  LocalFree(argv);
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Keelmark Op");
  Print(std::wstring(L"[runner] operation mutex \"Keelmark Op\": ") + (mutex ? L"exists" : L"absent") + L"\n");
  if (mutex) CloseHandle(mutex);

  HANDLE file = CreateFileW(job.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Print(L"[runner] cannot open the job file\n");
    return 1;
  }
  std::wstring text;
  wchar_t chunk[8192];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got / sizeof(wchar_t));
  CloseHandle(file);
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  Print(L"[runner] job file " + job + L" (UTF-16LE):\n" + text);
  return 0;
}
