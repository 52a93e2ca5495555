#include "lockjob/runner_path.h"

#include <gtest/gtest.h>

namespace {

TEST(RunnerPath, FolderRules) {
  struct Case {
    std::u16string folder, runner;
  };
  const Case cases[] = {
      {u"C:\\Program Files\\Keelmark", u"C:\\Program Files\\Keelmark\\Sealwork.exe"},
      {u"C:\\Program Files\\Keelmark\\", u"C:\\Program Files\\Keelmark\\Sealwork.exe"},
      {u"D:", u"D:\\Sealwork.exe"},
      {u"", u"Sealwork.exe"},
  };
  for (const Case& c : cases) EXPECT_EQ(pinvale::RunnerPath(c.folder), c.runner);
}

TEST(RunnerPath, FolderOfTheLibrary) {
  EXPECT_EQ(pinvale::FolderOf(u"C:\\Keelmark\\bin\\Pinvale.dll"), u"C:\\Keelmark\\bin\\");
  EXPECT_EQ(pinvale::FolderOf(u"C:Pinvale.dll"), u"C:");
  EXPECT_EQ(pinvale::FolderOf(u"Pinvale.dll"), u"");
}

TEST(RunnerPath, CommandLineIsTheQuotedPathTwice) {
  EXPECT_EQ(pinvale::RunnerCommandLine(u"C:\\Temp\\tmp1A2B.tmp"), u"\"C:\\Temp\\tmp1A2B.tmp\" \"C:\\Temp\\tmp1A2B.tmp\"");
}

}  // namespace
