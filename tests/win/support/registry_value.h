#pragma once
// One registry value changed for a test and put back as it was afterwards (or removed,
// when it did not exist). The key is created when missing and left in place.
#include <windows.h>

#include <string>
#include <vector>

namespace test {

class RegistryValue {
 public:
  RegistryValue(HKEY root, const std::wstring& key, const std::wstring& name);
  ~RegistryValue();
  RegistryValue(const RegistryValue&) = delete;
  RegistryValue& operator=(const RegistryValue&) = delete;

  void SetString(const std::wstring& value);
  void SetDword(DWORD value);

 private:
  HKEY key_ = nullptr;
  std::wstring name_;
  bool existed_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> old_;
};

}  // namespace test
