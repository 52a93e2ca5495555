#include "common/exported_string.h"

#include <gtest/gtest.h>

namespace {

TEST(ExportedString, ReadStopsAtTheFirstNulAndNullIsEmpty) {
  const char16_t text[] = u"ab\0cd";
  EXPECT_EQ(pinvale::ReadExportString(text), u"ab");
  EXPECT_EQ(pinvale::ReadExportString(nullptr), u"");
}

TEST(ExportedString, WriteAddsOneNulAndReturnsTheLength) {
  char16_t buffer[6] = {u'x', u'x', u'x', u'x', u'x', u'x'};
  EXPECT_EQ(pinvale::WriteExportString(u"a\U0001F600", buffer), 3);
  EXPECT_EQ(std::u16string_view(buffer, 5), std::u16string_view(u"a\U0001F600\0x", 5));
  EXPECT_EQ(pinvale::WriteExportString(u"abc", nullptr), 3);
}

}  // namespace
