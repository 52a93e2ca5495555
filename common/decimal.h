#pragma once
// Decimal text of an integer: a leading "-" for negative values, no plus sign, no
// leading zeros, no blanks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pinvale {

class DecimalText {
 public:
  explicit DecimalText(std::int64_t value) {
    // The magnitude as unsigned, so that the most negative value needs no special case.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
      digits_[--start_] = static_cast<char16_t>(u'0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits_[--start_] = u'-';
  }
  std::u16string_view view() const { return std::u16string_view(digits_ + start_, sizeof digits_ / 2 - start_); }

 private:
  char16_t digits_[20];
  std::size_t start_ = 20;
};

inline std::u16string Decimal(std::int64_t value) { return std::u16string(DecimalText(value).view()); }

}  // namespace pinvale
