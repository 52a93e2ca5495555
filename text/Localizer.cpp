#include "text/Localizer.h"

#include <cstring>

namespace pinvale {
namespace {

// First position of c in [p, end), or end. Looks at four code units per step: a 16-bit
// lane of x is zero exactly where the text holds c, and the expression below is non-zero
// exactly when some lane is zero.
const char16_t* FindCodeUnit(const char16_t* p, const char16_t* end, char16_t c) {
  constexpr std::uint64_t kLows = 0x0001000100010001u;
  constexpr std::uint64_t kHighs = 0x8000800080008000u;
  const std::uint64_t spread = kLows * c;
  for (; end - p >= 4; p += 4) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const std::uint64_t x = word ^ spread;
    if ((x - kLows) & ~x & kHighs) break;
  }
  for (; p != end; ++p)
    if (*p == c) return p;
  return end;
}

// Leftmost occurrence of pattern (non-empty) in [p, end), or end.
const char16_t* FindPattern(const char16_t* p, const char16_t* end, std::u16string_view pattern) {
  const std::size_t rest = pattern.size() - 1;
  const char16_t first = pattern.front();
  for (;;) {
    if (static_cast<std::size_t>(end - p) < pattern.size()) return end;
    p = FindCodeUnit(p, end - rest, first);
    if (p == end - rest) return end;
    if (std::memcmp(p + 1, pattern.data() + 1, rest * sizeof(char16_t)) == 0) return p;
    ++p;
  }
}

}  // namespace

void ReplaceAll(std::u16string& text, std::u16string_view pattern, std::u16string_view replacement) {
  if (pattern.empty()) return;
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  const char16_t* hit = FindPattern(p, end, pattern);
  if (hit == end) return;  // the common case: nothing to copy

  std::u16string out;
  out.reserve(text.size());
  do {
    out.append(p, hit);
    out.append(replacement);
    p = hit + pattern.size();
    hit = FindPattern(p, end, pattern);
  } while (hit != end);
  out.append(p, end);
  text.swap(out);
}

void ApplyReplacePatterns(std::u16string& text) {
  for (const TReplacePatterns& entry : ReplacePatterns) ReplaceAll(text, entry.Old, entry.New);
}

std::u16string GetLocaleCaption(std::int32_t, std::int32_t, std::u16string_view Text) {
  std::u16string caption(Text);
  ApplyReplacePatterns(caption);
  return caption;
}

std::u16string FormatLocaleCaption(std::int32_t LangID, std::int32_t CaptionID, std::u16string_view Text,
                                   std::u16string_view Param1, std::u16string_view Param2) {
  std::u16string caption = GetLocaleCaption(LangID, CaptionID, Text);
  ReplaceAll(caption, Placeholder1, Param1);
  ReplaceAll(caption, Placeholder2, Param2);
  return caption;
}

}  // namespace pinvale
