// GetLocaleCaptionWS and FormatLocaleCaptionWS through the real DLL: the length query
// with a null buffer, then the text and its NUL written into a buffer of that size.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "support/library.h"

namespace {

using GetCaption = std::int32_t __stdcall(std::int32_t, std::int32_t, const wchar_t*, wchar_t*);
using FormatCaption = std::int32_t __stdcall(std::int32_t, std::int32_t, const wchar_t*, wchar_t*, const wchar_t*,
                                             const wchar_t*);

constexpr wchar_t kUntouched = 0xCCCC;

// Calls once without a buffer and once with one exactly length + 1 long (plus a guard
// unit behind it); both must agree with expected, and nothing may land past the NUL.
void ExpectLengthThenText(const std::function<std::int32_t(wchar_t*)>& call, const std::wstring& expected) {
  const std::int32_t length = call(nullptr);
  ASSERT_EQ(length, static_cast<std::int32_t>(expected.size()));
  std::wstring buffer(length + 2, kUntouched);
  EXPECT_EQ(call(buffer.data()), length);
  EXPECT_EQ(buffer.substr(0, length), expected);
  EXPECT_EQ(buffer[length], L'\0');
  EXPECT_EQ(buffer[length + 1], kUntouched);
}

TEST(CaptionExports, GetLocaleCaptionWSReportsTheLengthAndWritesTheText) {
  test::Library library;
  auto get = library.Proc<GetCaption>("GetLocaleCaptionWS");
  ASSERT_NE(get, nullptr);
  const struct {
    const wchar_t* text;
    std::wstring expected;
  } cases[] = {
      {nullptr, L""},
      {L"", L""},
      {L"<1310>", L"\r\n"},
      {L"a\U0001F600b", L"a\U0001F600b"},
      {L"Line<13><10>Next<9>%s1%", L"Line\r\nNext\t%s1%"},
      {L"<13 > <013> <1310", L"<13 > <013> <1310"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text ? c.text : L"(null)");
    ExpectLengthThenText([&](wchar_t* buffer) { return get(0x0409, 12, c.text, buffer); }, c.expected);
  }
}

TEST(CaptionExports, FormatLocaleCaptionWSFillsBothPlaceholders) {
  test::Library library;
  auto format = library.Proc<FormatCaption>("FormatLocaleCaptionWS");
  ASSERT_NE(format, nullptr);
  const struct {
    const wchar_t *text, *param1, *param2;
    std::wstring expected;
  } cases[] = {
      {L"Slide %s1% of %s2%", L"3", L"12", L"Slide 3 of 12"},
      {L"[%s1%|%s2%]", nullptr, nullptr, L"[|]"},
      {nullptr, L"one", L"two", L""},
      {L"%s1%<1310>%s2%", L"<13>", L"%s1%", L"<13>\r\n%s1%"},
      {L"%s1%", L"%s2%", L"\U0001F600", L"\U0001F600"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text ? c.text : L"(null)");
    ExpectLengthThenText([&](wchar_t* buffer) { return format(7, -1, c.text, buffer, c.param1, c.param2); },
                         c.expected);
  }
}

}  // namespace
