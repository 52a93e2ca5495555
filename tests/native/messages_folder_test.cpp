#include "text/messages_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(MessagesFolder, AppendsMessagesWithOneBackslash) {
  struct Case {
    std::u16string_view install_path, expected;
  } const cases[] = {
      {u"", u""},
      {u"C:\\Keelmark\\", u"C:\\Keelmark\\Messages"},
      {u"C:\\Keelmark", u"C:\\Keelmark\\Messages"},
      {u"C:/Keelmark/", u"C:/Keelmark/\\Messages"},
      {u"C:\\Keelmark\\\\", u"C:\\Keelmark\\\\Messages"},
      {u"\\", u"\\Messages"},
      {u" ", u" \\Messages"},
      {u"%ProgramFiles%\\K", u"%ProgramFiles%\\K\\Messages"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pinvale::MessagesFolderOf(c.install_path), c.expected)
        << std::string(c.install_path.begin(), c.install_path.end());
  }
}

}  // namespace
