#include "lockjob/ini_store.h"

#include <gtest/gtest.h>

#include "common/decimal.h"

#include <string>

namespace {

using pinvale::IniStore;

TEST(IniStore, SectionsAndKeysInOrderOfFirstWrite) {
  IniStore store;
  store.WriteString(u"B", u"x", u"1");
  store.WriteString(u"A", u"y", u"2");
  store.WriteString(u"B", u"z", u"3");
  store.WriteString(u"B", u"x", u"4");
  EXPECT_EQ(store.Text(), u"[B]\r\nx=4\r\nz=3\r\n\r\n[A]\r\ny=2\r\n\r\n");
  EXPECT_EQ(IniStore().Text(), u"");
}

TEST(IniStore, NamesMatchWithoutRegardToCaseAndKeepTheirFirstSpelling) {
  IniStore store;
  store.WriteString(u"Slide1", u"Locks", u"1");
  store.WriteString(u"SLIDE1", u"locks", u"2");
  store.WriteString(u"other", u"LOCKS", u"3");  // its own spelling in its own section
  EXPECT_EQ(store.Text(), u"[Slide1]\r\nLocks=2\r\n\r\n[other]\r\nLOCKS=3\r\n\r\n");
  EXPECT_EQ(store.ReadString(u"slide1", u"LoCkS"), u"2");
  EXPECT_EQ(store.ReadString(u"Slide2", u"Locks"), std::nullopt);
  EXPECT_EQ(store.ReadString(u"Slide1", u"Lock"), std::nullopt);
}

TEST(IniStore, ValuesAsGivenAndIntegersInDecimal) {
  IniStore store;
  store.WriteString(u"S", u"text", u" a = \"b\" ;c ");
  store.WriteInteger(u"S", u"min", INT32_MIN);
  store.WriteInteger(u"S", u"max", INT32_MAX);
  store.WriteInteger(u"S", u"zero", 0);
  store.WriteInteger(u"S", u"neg", -7);
  EXPECT_EQ(store.Text(),
            u"[S]\r\ntext= a = \"b\" ;c \r\nmin=-2147483648\r\nmax=2147483647\r\nzero=0\r\nneg=-7\r\n\r\n");
}

TEST(IniStore, ReplacedValuesShrinkAndGrowInPlace) {
  IniStore store;
  store.WriteString(u"S", u"a", u"12345");
  store.WriteString(u"S", u"b", u"x");
  for (const char16_t* value : {u"1", u"", u"123456789", u"12"}) {
    store.WriteString(u"S", u"a", value);
    EXPECT_EQ(store.Text(), u"[S]\r\na=" + std::u16string(value) + u"\r\nb=x\r\n\r\n");
  }
}

TEST(IniStore, ManySectionsStayFindable) {
  IniStore store;
  constexpr int kSections = 20000;
  for (int i = 0; i < kSections; ++i) {
    std::u16string name = u"Section" + pinvale::Decimal(i);
    store.WriteInteger(name, u"Id", i);
    store.WriteInteger(name, u"Id", -i);
  }
  for (int i = 0; i < kSections; i += 997)
    EXPECT_EQ(store.ReadString(u"section" + pinvale::Decimal(i), u"id"), pinvale::Decimal(-i));
}

}  // namespace
