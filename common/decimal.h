#pragma once
// Decimal text of an integer: a leading "-" for negative values, no plus sign, no
// leading zeros, no blanks.
#include <cstdint>
#include <string>

namespace pinvale {

inline void AppendDecimal(std::u16string& out, std::int64_t value) {
  char16_t digits[20];
  int n = 0;
  // Work on the magnitude as unsigned so that the most negative value needs no special case.
  std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) out.push_back(u'-');
  while (n > 0) out.push_back(digits[--n]);
}

inline std::u16string Decimal(std::int64_t value) {
  std::u16string out;
  AppendDecimal(out, value);
  return out;
}

}  // namespace pinvale
