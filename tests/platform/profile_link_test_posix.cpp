// An INI file reached through a symbolic link: the write replaces the link's
// target and the link stays.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/profile.h"
#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

namespace fs = std::filesystem;

TEST(Profile, WritingThroughALinkReplacesItsTarget) {
  test::TempDir dir_;
  dir_.Write("LoginConfig.ini", "[A]\r\nx=1\r\n");
  fs::create_symlink(dir_ / "LoginConfig.ini", dir_ / "link.ini");
  EXPECT_TRUE(WriteProfileString(dir_.LauncherPath() + "\\link.ini", "A", "x", "2"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.ini"));
  EXPECT_EQ(dir_.Read("LoginConfig.ini"), "[A]\r\nx=2\r\n");
}

}  // namespace
}  // namespace vlmr::platform
