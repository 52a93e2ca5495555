#include "text/Localizer.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "caption_model.h"

namespace {

using pinvale::FormatLocaleCaption;
using pinvale::GetLocaleCaption;

std::string Show(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[12];
      std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
      out += hex;
    }
  }
  return out;
}

struct CaptionCase {
  std::u16string_view text;
  std::u16string_view expected;
};

TEST(Localizer, CaptionStepReplacesExactlyTheFourMarkers) {
  const CaptionCase cases[] = {
      {u"", u""},
      {u"No markers, 100% plain.", u"No markers, 100% plain."},
      {u"<1310>", u"\r\n"},
      {u"<13>", u"\r"},
      {u"<10>", u"\n"},
      {u"<9>", u"\t"},
      {u"<13><10>", u"\r\n"},
      {u"<10><13>", u"\n\r"},
      {u"a<9>b<13>c<10>d<1310>e", u"a\tb\rc\nd\r\ne"},
      {u"<9><9><9>", u"\t\t\t"},
      {u"<1310><1310>", u"\r\n\r\n"},
      // Only whole, exact markers count.
      {u"<13", u"<13"},
      {u"13>", u"13>"},
      {u"<1310", u"<1310"},
      {u"<13 >", u"<13 >"},
      {u"< 9>", u"< 9>"},
      {u"<013>", u"<013>"},
      {u"<09>", u"<09>"},
      {u"<11>", u"<11>"},
      {u"<131>", u"<131>"},
      {u"<131310>", u"<131310>"},
      {u"<>", u"<>"},
      {u"\uFF1C9\uFF1E", u"\uFF1C9\uFF1E"},  // full-width brackets are not normalised
      // Brackets around a marker stay; what a replacement leaves behind is not searched again.
      {u"<<13>>", u"<\r>"},
      {u"<1<13>0>", u"<1\r0>"},
      {u"<13<10>>", u"<13\n>"},
      // Placeholders are no business of the caption step.
      {u"%s1%<9>%s2%", u"%s1%\t%s2%"},
      {u"\u65E5\u672C<9>\U0001F600", u"\u65E5\u672C\t\U0001F600"},
  };
  for (const CaptionCase& c : cases) {
    EXPECT_EQ(Show(GetLocaleCaption(0, 0, c.text)), Show(c.expected)) << "text: " << Show(c.text);
  }
}

TEST(Localizer, ApplyReplacePatternsWorksInPlace) {
  std::u16string text = u"x<1310>y<9>";
  pinvale::ApplyReplacePatterns(text);
  EXPECT_EQ(text, u"x\r\ny\t");
}

struct FormatCase {
  std::u16string_view text, param1, param2, expected;
};

TEST(Localizer, FormatStepFillsPlaceholdersAfterTheMarkers) {
  const FormatCase cases[] = {
      {u"%s1% and %s2%", u"A", u"B", u"A and B"},
      {u"%s2% before %s1%", u"A", u"B", u"B before A"},
      {u"%s1%, %s1% and %s1%", u"x", u"", u"x, x and x"},
      {u"%S1% %S2%", u"A", u"B", u"%S1% %S2%"},
      {u"%s1% %s2% %s3% %s1 s1%", u"", u"", u"  %s3% %s1 s1%"},
      {u"", u"A", u"B", u""},
      {u"<13>%s1%", u"<10>", u"", u"\r<10>"},
      {u"%s1%", u"<13>", u"", u"<13>"},
      {u"%s1%", u"%s2%", u"B", u"B"},
      {u"%s1%", u"%s1%", u"B", u"%s1%"},
      {u"%s2%", u"A", u"%s1%", u"%s1%"},
      {u"%s2%", u"A", u"%s2%", u"%s2%"},
      // The marker step runs first and can break up what would have been a placeholder.
      {u"%s<9>1%", u"A", u"", u"%s\t1%"},
      {u"%%s1%%", u"A", u"", u"%A%"},
      {u"%s%s1%1%", u"X", u"", u"%sX1%"},
      {u"%s1%%s2%", u"\U0001F600", u"\u00E9", u"\U0001F600\u00E9"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(Show(FormatLocaleCaption(0, 0, c.text, c.param1, c.param2)), Show(c.expected))
        << "text: " << Show(c.text) << " params: " << Show(c.param1) << ", " << Show(c.param2);
  }
}

TEST(Localizer, LangIdAndCaptionIdMakeNoDifference) {
  const std::int32_t ids[] = {INT32_MIN, -1, 0, 1, 7, 0x0409, 0x0407, INT32_MAX};
  const std::u16string_view text = u"<13>%s1%<1310>%s2%<9>";
  const std::u16string caption = GetLocaleCaption(0, 0, text);
  const std::u16string formatted = FormatLocaleCaption(0, 0, text, u"one", u"two");
  for (std::int32_t lang : ids) {
    for (std::int32_t caption_id : ids) {
      EXPECT_EQ(GetLocaleCaption(lang, caption_id, text), caption) << lang << " " << caption_id;
      EXPECT_EQ(FormatLocaleCaption(lang, caption_id, text, u"one", u"two"), formatted) << lang << " " << caption_id;
    }
  }
}

// Texts built from pieces of markers and placeholders, and from code units that share a
// byte with '<' or '%' or sit at the edges of the 16-bit range, so that a search that
// compares bytes, lanes or alignments wrongly shows up.
class Fragments {
 public:
  explicit Fragments(std::uint32_t seed) : random_(seed) {}

  std::u16string Text(int max_pieces) {
    static const std::vector<std::u16string> pieces = {
        u"<1310>", u"<13>", u"<10>", u"<9>", u"%s1%", u"%s2%", u"<", u">", u"%", u"s", u"S", u"1", u"3",
        u"0",      u"9",    u"<1",   u"31",  u"10>",  u"%s",   u"2%", u" ", u"x", u"\U0001F600", u"\x3C00",
        u"\x013C", u"\x2500", u"\x0125", u"\x8000", u"\xFFFF"};
    std::u16string text;
    const int n = std::uniform_int_distribution<int>(0, max_pieces)(random_);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    for (int i = 0; i < n; ++i) text += pieces[pick(random_)];
    return text;
  }

 private:
  std::mt19937 random_;
};

TEST(Localizer, AgreesWithThePlainModelOnGeneratedTexts) {
  Fragments fragments(20240611);
  for (int i = 0; i < 20000; ++i) {
    const std::u16string text = fragments.Text(40);
    const std::u16string param1 = fragments.Text(3);
    const std::u16string param2 = fragments.Text(3);
    ASSERT_EQ(Show(GetLocaleCaption(0, 0, text)), Show(model::Caption(text))) << "text: " << Show(text);
    ASSERT_EQ(Show(FormatLocaleCaption(0, 0, text, param1, param2)), Show(model::Format(text, param1, param2)))
        << "text: " << Show(text) << " params: " << Show(param1) << ", " << Show(param2);
  }
}

// The search itself, with patterns that overlap themselves ("aa" in "aaa") and at every
// length and alignment around the four-unit steps of the scan.
TEST(Localizer, ReplaceAllAgreesWithThePlainModelForAnyPattern) {
  std::mt19937 random(7);
  const char16_t alphabet[] = {u'a', u'b', u'<', 0x3C00, 0x013C, 0x8000, 0xFFFF, 0};
  auto word = [&](std::size_t max_length) {
    std::u16string s(std::uniform_int_distribution<std::size_t>(0, max_length)(random), u'a');
    for (char16_t& c : s) c = alphabet[std::uniform_int_distribution<std::size_t>(0, std::size(alphabet) - 1)(random)];
    return s;
  };
  for (int i = 0; i < 20000; ++i) {
    std::u16string text = word(24);
    const std::u16string pattern = word(5);
    const std::u16string replacement = word(3);
    const std::u16string expected = model::ReplaceAll(text, pattern, replacement);
    pinvale::ReplaceAll(text, pattern, replacement);
    ASSERT_EQ(Show(text), Show(expected)) << "pattern: " << Show(pattern) << " replacement: " << Show(replacement);
  }
  std::u16string text = u"aaaa";
  pinvale::ReplaceAll(text, u"aa", u"a");
  EXPECT_EQ(text, u"aa");
}

}  // namespace
