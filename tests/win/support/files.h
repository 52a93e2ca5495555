#pragma once
// Files, folders and the registry value the library reads, for the tests.
#include <windows.h>

#include <string>
#include <vector>

namespace test {

std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::vector<std::wstring> ListFolder(const std::wstring& folder);  // names, no "." or ".."

// A fresh empty folder under the system's temporary folder, removed with its files at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& path() const { return path_; }  // with a trailing backslash
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }

 private:
  std::wstring path_;
};

// HKLM\Software\Velmora\Keelmark "InstallPath": set for the test, removed afterwards.
class InstallPathValue {
 public:
  InstallPathValue();  // starts with neither key nor value
  ~InstallPathValue();
  void SetString(const std::wstring& value, DWORD type = REG_SZ);
  void SetDword(DWORD value);
  void RemoveValue();

 private:
  HKEY Key();
};

// The job file as the library writes it: FF FE, then the lines, each ended by CR LF.
std::string JobFileBytes(const std::vector<std::wstring>& lines);

}  // namespace test
