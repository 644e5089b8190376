// Launcher paths on Windows: the path itself in UTF-8, "/" read as "\",
// repeated separators as one (a server share's leading pair kept), and the
// system's limits of 32,767 characters and 255 per name.
#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "platform/native_path.h"

namespace vlmr::platform {
namespace {

TEST(NativePath, SeparatorsAreNormalisedAndTheDriveKept) {
  EXPECT_EQ(ToNativePath("C:\\\\Game//data\\\\file.txt"), "C:\\Game\\data\\file.txt");
  EXPECT_EQ(ToNativePath("\\\\server\\share\\x"), "\\\\server\\share\\x");
  EXPECT_EQ(ToNativePath(Utf8ToGbk("C:\\游戏€\\x")), "C:\\游戏€\\x");
  EXPECT_EQ(ToLauncherPath("C:/游戏/x"), Utf8ToGbk("C:\\游戏\\x"));
  EXPECT_EQ(ToNativePath(""), "");
}

TEST(NativePath, LimitsAreTheSystems) {
  EXPECT_TRUE(FitsPathLimits("C:\\" + std::string(255, 'a')));
  EXPECT_FALSE(FitsPathLimits("C:\\" + std::string(256, 'a')));
  std::string deep = "C:";
  while (deep.size() < 32800) deep += "\\dir";
  EXPECT_FALSE(FitsPathLimits(deep));
}

}  // namespace
}  // namespace vlmr::platform
