#include "common/win32_error.h"

#include <memory>

#include "common/decimal.h"

namespace pinvale {

std::u16string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::unique_ptr<wchar_t, decltype(&LocalFree)> owned(text, &LocalFree);
  while (length > 0 && text[length - 1] <= L' ') --length;
  if (length == 0) return u"System error " + Decimal(code);
  return std::u16string(Utf16(text), length);
}

void ThrowLastError(ErrorClass error_class) {
  throw Error{error_class, SystemMessage(GetLastError())};
}

}  // namespace pinvale
