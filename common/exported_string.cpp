#include "common/exported_string.h"

#include <algorithm>

namespace pinvale {

std::u16string ReadExportString(const char16_t* text) {
  return text ? std::u16string(text) : std::u16string();
}

std::int32_t WriteExportString(std::u16string_view text, char16_t* buffer) {
  if (buffer) {
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = u'\0';
  }
  return static_cast<std::int32_t>(text.size());
}

}  // namespace pinvale
