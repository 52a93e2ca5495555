// pinvale-host: a console host of Pinvale.dll, loaded from beside this program.
#include <windows.h>

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

std::wstring ProgramDir() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

bool MutexExists(const wchar_t* name) {
  HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, name);
  if (h) CloseHandle(h);
  return h != nullptr;
}

// Lists the export directory of the loaded module: ordinal and name.
void PrintExports(HMODULE module) {
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  auto ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    std::printf("  %2lu  %s\n", static_cast<unsigned long>(ordinals[i] + exports->Base),
                reinterpret_cast<const char*>(base + names[i]));
  }
}

int Info() {
  std::wstring path = ProgramDir() + L"Pinvale.dll";
  Print(L"instance mutex \"Keelmark\" before loading: " + std::wstring(MutexExists(L"Keelmark") ? L"exists" : L"absent") + L"\n");
  HMODULE module = LoadLibraryW(path.c_str());
  if (!module) {
    Print(L"cannot load " + path + L"\n");
    return 1;
  }
  Print(L"loaded " + path + L"\nexports:\n");
  PrintExports(module);
  Print(L"instance mutex \"Keelmark\" while loaded: " + std::wstring(MutexExists(L"Keelmark") ? L"exists" : L"absent") + L"\n");
  FreeLibrary(module);
  Print(L"instance mutex \"Keelmark\" after unloading: " + std::wstring(MutexExists(L"Keelmark") ? L"exists" : L"absent") + L"\n");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"info") return Info();
  Print(L"usage: pinvale-host info\n");
  return 2;
}
