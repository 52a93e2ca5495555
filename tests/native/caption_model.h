#pragma once
// A deliberately plain model of the caption rules, for checking the real code against:
// walk the text one code unit at a time and test the pattern at each position.
#include <string>
#include <string_view>

namespace model {

inline std::u16string ReplaceAll(std::u16string_view text, std::u16string_view pattern,
                                 std::u16string_view replacement) {
  if (pattern.empty()) return std::u16string(text);
  std::u16string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.substr(i, pattern.size()) == pattern) {
      out += replacement;
      i += pattern.size();
    } else {
      out += text[i++];
    }
  }
  return out;
}

inline std::u16string Caption(std::u16string_view text) {
  std::u16string s(text);
  s = ReplaceAll(s, u"<1310>", u"\r\n");
  s = ReplaceAll(s, u"<13>", u"\r");
  s = ReplaceAll(s, u"<10>", u"\n");
  s = ReplaceAll(s, u"<9>", u"\t");
  return s;
}

inline std::u16string Format(std::u16string_view text, std::u16string_view param1, std::u16string_view param2) {
  return ReplaceAll(ReplaceAll(Caption(text), u"%s1%", param1), u"%s2%", param2);
}

}  // namespace model
