#include "text/Localizer.h"

#include <bit>
#include <cstring>
#include <new>

namespace pinvale {
namespace {

// The scans below read four code units at a time as one 64-bit word. For spread = c in
// every 16-bit lane, LanesEqual is non-zero exactly when some lane of word holds c, and
// its lowest set bit lies in the lowest such lane (a borrow only runs upwards from a lane
// that matched).
constexpr std::uint64_t kLows = 0x0001000100010001u;
constexpr std::uint64_t kHighs = 0x8000800080008000u;

std::uint64_t LanesEqual(std::uint64_t word, std::uint64_t spread) {
  const std::uint64_t x = word ^ spread;
  return (x - kLows) & ~x & kHighs;
}

std::uint64_t Load(const char16_t* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// First position of c in [p, end), or end.
const char16_t* FindCodeUnit(const char16_t* p, const char16_t* end, char16_t c) {
  const std::uint64_t spread = kLows * c;
  for (; end - p >= 4; p += 4) {
    if (const std::uint64_t lanes = LanesEqual(Load(p), spread)) {
      if constexpr (std::endian::native == std::endian::little) return p + std::countr_zero(lanes) / 16;
      break;
    }
  }
  for (; p != end; ++p)
    if (*p == c) return p;
  return end;
}

// Moves the code units from in up to the next c (or end) to out, and returns where that
// c stands in the input. out may be the same as in or behind it: a word is stored only
// after it has been read whole, and only when all four of its code units go out.
const char16_t* MoveUntil(const char16_t* in, const char16_t* end, char16_t c, char16_t*& out) {
  const std::uint64_t spread = kLows * c;
  char16_t* o = out;
  for (; end - in >= 4; in += 4, o += 4) {
    const std::uint64_t word = Load(in);
    if (LanesEqual(word, spread)) break;
    std::memcpy(o, &word, sizeof word);
  }
  for (; in != end && *in != c; ++in) *o++ = *in;
  out = o;
  return in;
}

bool StartsWith(const char16_t* p, const char16_t* end, std::u16string_view pattern) {
  if (static_cast<std::size_t>(end - p) < pattern.size()) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i)
    if (p[i] != pattern[i]) return false;
  return true;
}

// Leftmost occurrence of pattern (non-empty) in [p, end), or end.
const char16_t* FindPattern(const char16_t* p, const char16_t* end, std::u16string_view pattern) {
  for (;; ++p) {
    p = FindCodeUnit(p, end, pattern.front());
    if (p == end || StartsWith(p, end, pattern)) return p;
  }
}

char16_t* Put(std::u16string_view text, char16_t* out) {
  for (char16_t c : text) *out++ = c;
  return out;
}

// The marker step takes one pass over the text instead of one per table entry. That
// gives the same result when every marker opens with the same code unit, found nowhere
// else in any marker (so no two occurrences overlap, and at one position the earlier
// entry wins either way), and every replacement is non-empty, no longer than its marker
// and free of marker code units (so a replacement neither forms a marker nor joins the
// text around it into one, and the pass can write over its own input).
constexpr char16_t kMarkerOpen = ReplacePatterns[0].Old[0];

constexpr bool MarkersFitOnePass() {
  for (const TReplacePatterns& entry : ReplacePatterns) {
    if (entry.Old.empty() || entry.Old[0] != kMarkerOpen || entry.Old.find(kMarkerOpen, 1) != entry.Old.npos)
      return false;
    if (entry.New.empty() || entry.New.size() > entry.Old.size()) return false;
    for (const TReplacePatterns& other : ReplacePatterns)
      if (entry.New.find_first_of(other.Old) != entry.New.npos) return false;
  }
  return true;
}
static_assert(MarkersFitOnePass(), "ReplacePatterns no longer allows the one-pass marker step");

const TReplacePatterns* MarkerAt(const char16_t* p, const char16_t* end) {
  for (const TReplacePatterns& entry : ReplacePatterns)
    if (StartsWith(p, end, entry.Old)) return &entry;
  return nullptr;
}

// Writes [in, end) to out with every occurrence of pattern replaced, and returns the end
// of the output; in is where the first occurrence stands. out may be in itself when the
// replacement is no longer than the pattern. From one candidate (a code unit equal to
// the pattern's first) to the next, the text is moved in words.
char16_t* ReplaceFrom(const char16_t* in, const char16_t* end, std::u16string_view pattern,
                      std::u16string_view replacement, char16_t* out) {
  while (in != end) {
    if (StartsWith(in, end, pattern)) {
      out = Put(replacement, out);
      in += pattern.size();
    } else {
      *out++ = *in++;
    }
    in = MoveUntil(in, end, pattern.front(), out);
  }
  return out;
}

}  // namespace

void ReplaceAll(std::u16string& text, std::u16string_view pattern, std::u16string_view replacement) {
  if (pattern.empty()) return;
  char16_t* const begin = text.data();
  const char16_t* const end = begin + text.size();
  const char16_t* hit = FindPattern(begin, end, pattern);
  if (hit == end) return;  // the common case: nothing to do
  const std::size_t kept = static_cast<std::size_t>(hit - begin);

  if (replacement.size() <= pattern.size()) {
    // The output never gets ahead of the input, so it is written over it; the text in
    // front of the first occurrence stays where it is.
    text.resize(static_cast<std::size_t>(ReplaceFrom(hit, end, pattern, replacement, begin + kept) - begin));
    return;
  }

  // Growing: count first, so that the output is allocated once at its final size.
  std::size_t hits = 0;
  for (const char16_t* p = hit; p != end; p = FindPattern(p + pattern.size(), end, pattern)) ++hits;
  const std::size_t extra = replacement.size() - pattern.size();
  if (hits > (text.max_size() - text.size()) / extra) throw std::bad_alloc();  // no wrap-around on x86
  std::u16string grown(text.size() + hits * extra, u'\0');
  std::memcpy(grown.data(), begin, kept * sizeof(char16_t));
  ReplaceFrom(hit, end, pattern, replacement, grown.data() + kept);
  text.swap(grown);
}

void ApplyReplacePatterns(std::u16string& text) {
  char16_t* const begin = text.data();
  const char16_t* const end = begin + text.size();
  const char16_t* in = FindCodeUnit(begin, end, kMarkerOpen);
  char16_t* out = begin + (in - begin);
  while (in != end) {
    if (const TReplacePatterns* entry = MarkerAt(in, end)) {
      out = Put(entry->New, out);
      in += entry->Old.size();
    } else {
      *out++ = *in++;
    }
    in = MoveUntil(in, end, kMarkerOpen, out);
  }
  text.resize(static_cast<std::size_t>(out - begin));
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
