#include "support/registry_value.h"

#include <stdexcept>

namespace test {

RegistryValue::RegistryValue(HKEY root, const std::wstring& key, const std::wstring& name) : name_(name) {
  if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr) !=
      ERROR_SUCCESS)
    throw std::runtime_error("cannot open the registry key");
  DWORD size = 0;
  if (RegQueryValueExW(key_, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
    old_.resize(size);
    existed_ = RegQueryValueExW(key_, name_.c_str(), nullptr, &type_, old_.data(), &size) == ERROR_SUCCESS;
  }
}

RegistryValue::~RegistryValue() {
  if (existed_)
    RegSetValueExW(key_, name_.c_str(), 0, type_, old_.data(), static_cast<DWORD>(old_.size()));
  else
    RegDeleteValueW(key_, name_.c_str());
  RegCloseKey(key_);
}

void RegistryValue::SetString(const std::wstring& value) {
  RegSetValueExW(key_, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void RegistryValue::SetDword(DWORD value) {
  RegSetValueExW(key_, name_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

}  // namespace test
