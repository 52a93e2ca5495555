#include "common/registry.h"

#include "common/error.h"

namespace pinvale {

std::optional<RegistryKey> RegistryKey::OpenReadOnly(HKEY root, const std::u16string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Wide(path), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  return RegistryKey(key);
}

RegistryKey::~RegistryKey() {
  if (key_) RegCloseKey(key_);
}

std::u16string RegistryKey::ReadString(const std::u16string& name) const {
  // The value may change between the size query and the read; ask again until it fits.
  std::u16string text;
  for (;;) {
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(char16_t));
    LONG rc = RegQueryValueExW(key_, Wide(name), nullptr, &type,
                               text.empty() ? nullptr : reinterpret_cast<BYTE*>(text.data()), &bytes);
    if (rc == ERROR_FILE_NOT_FOUND) return {};
    if (rc == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ)
      throw Error{ErrorClass::Registry, u"Invalid data type for '" + name + u"'"};
    if (rc == ERROR_MORE_DATA || (rc == ERROR_SUCCESS && text.empty() && bytes > 0)) {
      text.assign((bytes + 1) / sizeof(char16_t) + 1, u'\0');
      continue;
    }
    if (rc != ERROR_SUCCESS) return {};
    text.resize(bytes / sizeof(char16_t));
    // Stored strings usually, but not always, carry their terminating NUL.
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    return text;
  }
}

}  // namespace pinvale
