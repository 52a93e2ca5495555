// GetMessagesFolder through the real DLL against the registry of the test prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "support/failure_signal.h"
#include "support/files.h"
#include "support/library.h"

namespace {

using MessagesFolder = std::int32_t __stdcall(wchar_t*);

constexpr wchar_t kUntouched = 0xCCCC;

class MessagesFolderExport : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(get_, nullptr); }

  test::Library library_;
  MessagesFolder* get_ = library_.Proc<MessagesFolder>("GetMessagesFolder");
};

TEST_F(MessagesFolderExport, BuildsThePathFromInstallPath) {
  const struct {
    const char* name;
    std::function<void(test::InstallPathValue&)> arrange;
    std::wstring expected;
  } cases[] = {
      {"trailing backslash", [](auto& v) { v.SetString(L"C:\\Program Files\\Keelmark\\"); },
       L"C:\\Program Files\\Keelmark\\Messages"},
      {"no trailing backslash", [](auto& v) { v.SetString(L"D:\\Keelmark"); }, L"D:\\Keelmark\\Messages"},
      {"trailing forward slash", [](auto& v) { v.SetString(L"D:/Keelmark/"); }, L"D:/Keelmark/\\Messages"},
      {"expandable string, not expanded",
       [](auto& v) { v.SetString(L"%ProgramFiles%\\Keelmark", REG_EXPAND_SZ); },
       L"%ProgramFiles%\\Keelmark\\Messages"},
      {"empty value", [](auto& v) { v.SetString(L""); }, L""},
      {"no value",
       [](auto& v) {
         v.SetString(L"C:\\Keelmark");
         v.RemoveValue();
       },
       L""},
      {"no key", [](auto&) {}, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::InstallPathValue value;  // starts without key, removes it again at the end
    c.arrange(value);
    // A null buffer asks for the length only.
    EXPECT_EQ(get_(nullptr), static_cast<std::int32_t>(c.expected.size()));
    std::wstring buffer(c.expected.size() + 2, kUntouched);
    ASSERT_EQ(get_(buffer.data()), static_cast<std::int32_t>(c.expected.size()));
    EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected);
    EXPECT_EQ(buffer[c.expected.size()], L'\0');
    EXPECT_EQ(buffer[c.expected.size() + 1], kUntouched);
  }
}

TEST_F(MessagesFolderExport, InstallPathThatIsNotTextGivesTheFailureSignalAndWritesNothing) {
  const struct {
    const char* name;
    std::function<void(test::InstallPathValue&)> arrange;
  } cases[] = {
      {"REG_DWORD", [](auto& v) { v.SetDword(1); }},
      {"REG_MULTI_SZ", [](auto& v) { v.SetString(L"C:\\Keelmark", REG_MULTI_SZ); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::InstallPathValue value;
    c.arrange(value);
    test::FailureCatcher catcher;
    std::wstring buffer(16, kUntouched);
    EXPECT_EQ(get_(buffer.data()), 0);
    const test::Failure& f = catcher.failure();
    EXPECT_TRUE(f.raised);
    EXPECT_EQ(f.flags & EXCEPTION_NONCONTINUABLE, static_cast<DWORD>(EXCEPTION_NONCONTINUABLE));
    EXPECT_EQ(f.error_class, 3u);
    EXPECT_EQ(f.message, L"Invalid data type for 'InstallPath'");
    EXPECT_EQ(buffer, std::wstring(16, kUntouched));
  }
}

}  // namespace
