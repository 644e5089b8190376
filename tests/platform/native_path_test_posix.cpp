#include "platform/native_path.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

TEST(NativePath, DoubledAndMixedSeparatorsAndDriveAreNormalised) {
  test::TempDir dir;
  dir.Write("Game/data/file.txt", "x");
  std::string expected = (dir / "Game/data/file.txt").string();
  EXPECT_EQ(ToNativePath(dir.LauncherPath() + "\\\\Game//data\\\\file.txt"), expected);
  EXPECT_EQ(ToNativePath("C:" + dir.LauncherPath() + "\\Game\\data\\file.txt"), expected);
  EXPECT_EQ(ToNativePath(dir.LauncherPath() + "\\Game\\data\\"), (dir / "Game/data/").string());
}

TEST(NativePath, ComponentsMatchWithoutRegardToCase) {
  test::TempDir dir;
  dir.Write("Game/Data/File.TXT", "x");
  dir.Write("Дом.txt", "x");
  EXPECT_EQ(ToNativePath(dir.LauncherPath() + "\\game\\DATA\\file.txt"),
            (dir / "Game/Data/File.TXT").string());
  EXPECT_EQ(ToNativePath(dir.LauncherPath() + "\\" + Utf8ToGbk("дОМ.TXT")),
            (dir / "Дом.txt").string());
  // Missing components are kept as written.
  EXPECT_EQ(ToNativePath(dir.LauncherPath() + "\\GAME\\new\\Sub"), (dir / "Game/new/Sub").string());
}

TEST(NativePath, ChineseNamesAndTrailByteBackslash) {
  test::TempDir dir;
  std::string gbkName = "\x95\x5C\xD6\xD0.txt";  // second byte of the first character is 0x5C
  dir.Write(GbkToUtf8(gbkName), "x");
  EXPECT_EQ(ToNativePath(dir.LauncherPath() + "\\" + gbkName), (dir / GbkToUtf8(gbkName)).string());
  EXPECT_EQ(ToLauncherPath("/tmp/中/x"), "\\tmp\\\xD6\xD0\\x");
}

TEST(NativePath, EmptyAndOverlongPathsFailClearly) {
  EXPECT_EQ(ToNativePath(""), "");
  EXPECT_EQ(ToNativePath(std::string(40000, 'a')), "");
  EXPECT_EQ(ToNativePath("\\" + std::string(5000, 'a')), "");
  EXPECT_EQ(ToNativePath("C:"), "/");
}

}  // namespace
}  // namespace vlmr::platform
