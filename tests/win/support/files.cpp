#include "support/files.h"

#include <stdexcept>

namespace test {

std::string ReadFileBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot read a file");
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(file);
  return bytes;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write a file");
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::vector<std::wstring> ListFolder(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

namespace {

void RemoveTree(const std::wstring& folder) {
  for (const std::wstring& name : ListFolder(folder)) {
    std::wstring path = folder + name;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(path + L"\\");
    } else {
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(path.c_str());
    }
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  path_ = std::wstring(temp) + L"pinvale-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter) + L"\\";
  RemoveTree(path_);
  if (!CreateDirectoryW(path_.c_str(), nullptr)) throw std::runtime_error("cannot make a scratch folder");
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

constexpr wchar_t kKey[] = L"Software\\Velmora\\Keelmark";

InstallPathValue::InstallPathValue() { RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey); }
InstallPathValue::~InstallPathValue() { RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey); }

HKEY InstallPathValue::Key() {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    throw std::runtime_error("cannot create the registry key");
  return key;
}

void InstallPathValue::SetString(const std::wstring& value, DWORD type) {
  HKEY key = Key();
  RegSetValueExW(key, L"InstallPath", 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

void InstallPathValue::SetDword(DWORD value) {
  HKEY key = Key();
  RegSetValueExW(key, L"InstallPath", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void InstallPathValue::RemoveValue() {
  HKEY key = Key();
  RegDeleteValueW(key, L"InstallPath");
  RegCloseKey(key);
}

std::string JobFileBytes(const std::vector<std::wstring>& lines) {
  std::wstring text = L"\xFEFF";
  for (const std::wstring& line : lines) text += line + L"\r\n";
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

}  // namespace test
