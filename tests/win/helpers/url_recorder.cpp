// url_recorder OUT_FILE ADDRESS: what the tests register as the program that opens web
// and mailto addresses. Writes ADDRESS into OUT_FILE as UTF-8, whole or not at all.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 87;
  std::wstring address = argv[2];
  std::string bytes(WideCharToMultiByte(CP_UTF8, 0, address.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
  WideCharToMultiByte(CP_UTF8, 0, address.c_str(), -1, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.pop_back();  // the NUL
  std::wstring part = std::wstring(argv[1]) + L".part";
  HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return MoveFileExW(part.c_str(), argv[1], MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
