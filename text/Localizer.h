#pragma once
// Caption texts as the host writes them: line breaks and tabs as markers in angle
// brackets, up to two values as the placeholders "%s1%" and "%s2%". Plain string logic
// on UTF-16 code units; LangID and CaptionID are accepted but never consulted.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pinvale {

struct TReplacePatterns {
  std::u16string_view Old;  // the marker searched for
  std::u16string_view New;  // the text that takes its place
};

// Applied in this order, each entry to the result of the one before.
inline constexpr std::array<TReplacePatterns, 4> ReplacePatterns = {{
    {u"<1310>", u"\r\n"},
    {u"<13>", u"\r"},
    {u"<10>", u"\n"},
    {u"<9>", u"\t"},
}};

inline constexpr std::u16string_view Placeholder1 = u"%s1%";
inline constexpr std::u16string_view Placeholder2 = u"%s2%";

// Replaces each leftmost, non-overlapping occurrence of pattern in text by replacement,
// comparing code unit by code unit; text brought in by a replacement is not searched
// again. An empty pattern changes nothing. Time is linear in the input and output for
// patterns of bounded length (ours have at most six code units).
void ReplaceAll(std::u16string& text, std::u16string_view pattern, std::u16string_view replacement);

// The marker step: the replace-all of each entry of ReplacePatterns, in table order. The
// table lets this run as one pass over the text (see Localizer.cpp).
void ApplyReplacePatterns(std::u16string& text);

// Text after the marker step.
std::u16string GetLocaleCaption(std::int32_t LangID, std::int32_t CaptionID, std::u16string_view Text);

// The caption of Text, then every "%s1%" replaced by Param1, then every "%s2%" in that
// result by Param2. Markers in the parameters therefore stay as written.
std::u16string FormatLocaleCaption(std::int32_t LangID, std::int32_t CaptionID, std::u16string_view Text,
                                   std::u16string_view Param1, std::u16string_view Param2);

}  // namespace pinvale
