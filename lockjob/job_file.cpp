#include "lockjob/job_file.h"

#include "common/handle.h"
#include "common/win32_error.h"

namespace pinvale {
namespace {

UniqueHandle CreateForWriting(const std::u16string& name) {
  return UniqueHandle(
      CreateFileW(Wide(name), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

void WriteAll(HANDLE file, const void* data, std::size_t bytes) {
  DWORD written = 0;
  if (bytes > MAXDWORD) throw Error{ErrorClass::InOut, SystemMessage(ERROR_FILE_TOO_LARGE)};
  if (!WriteFile(file, data, static_cast<DWORD>(bytes), &written, nullptr)) ThrowLastError(ErrorClass::InOut);
  if (written != bytes) throw Error{ErrorClass::InOut, SystemMessage(ERROR_WRITE_FAULT)};
}

constexpr char16_t kByteOrderMark = 0xFEFF;

}  // namespace

bool FileExists(const std::u16string& name) {
  const DWORD attributes = GetFileAttributesW(Wide(name));
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  UniqueHandle target(CreateFileW(Wide(name), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return target || GetLastError() == ERROR_SHARING_VIOLATION;
}

std::u16string CreateJobFileName() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, folder);
  GetLongPathNameW(folder, folder, MAX_PATH);
  wchar_t name[MAX_PATH + 1] = {};
  if (GetTempFileNameW(folder, L"tmp", 0, name) == 0) ThrowLastError(ErrorClass::InOut);
  return Utf16(name);
}

void CreateUnicodeFile(const std::u16string& name) {
  UniqueHandle file = CreateForWriting(name);
  if (!file) ThrowLastError(ErrorClass::InOut);
  WriteAll(file.get(), &kByteOrderMark, sizeof kByteOrderMark);
}

void SaveIniFile(const IniStore& store, const std::u16string& name) {
  // On x86 and x64 the code units in memory are already UTF-16LE.
  std::u16string bytes(1, kByteOrderMark);
  store.AppendText(bytes);
  UniqueHandle file = CreateForWriting(name);
  if (!file)
    throw Error{ErrorClass::FileCreate,
                u"Cannot create file \"" + name + u"\". " + SystemMessage(GetLastError())};
  WriteAll(file.get(), bytes.data(), bytes.size() * sizeof(char16_t));
}

}  // namespace pinvale
