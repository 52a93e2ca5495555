#pragma once
// A small read-only registry reader: open a key, read string values as stored.
#include <optional>
#include <string>

#include "common/win_types.h"

namespace pinvale {

class RegistryKey {
 public:
  // Opens root\path for reading in the caller's own registry view; empty when it cannot.
  static std::optional<RegistryKey> OpenReadOnly(HKEY root, const std::u16string& path);

  RegistryKey(RegistryKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey();

  // A REG_SZ or REG_EXPAND_SZ value as stored (not expanded); empty when missing.
  // Any other type throws the registry error "Invalid data type for '<name>'".
  std::u16string ReadString(const std::u16string& name) const;

 private:
  explicit RegistryKey(HKEY key) : key_(key) {}
  HKEY key_;
};

}  // namespace pinvale
