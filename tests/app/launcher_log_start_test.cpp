// Where start-up puts the launcher's log: in the game folder's .vlmr, or in
// the user's state folder when the game folder cannot hold it.
#include "app/launcher_log_start.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/launcher_log.h"
#include "support/environment.h"
#include "support/temp_dir.h"

namespace vlmr::app {
namespace {

namespace fs = std::filesystem;

class LauncherLogStart : public testing::Test {
 protected:
  LauncherLogStart() { test::SetEnvironment("XDG_STATE_HOME", state_.path().c_str()); }
  ~LauncherLogStart() override {
    platform::CloseLog();
    test::UnsetEnvironment("XDG_STATE_HOME");
  }
  test::TempDir game_;
  test::TempDir state_;
};

TEST_F(LauncherLogStart, TheLogLivesInTheLaunchersFolderInTheGameFolder) {
  const fs::path expected = game_ / ".vlmr/launcher.log";
  EXPECT_EQ(StartLauncherLog(game_.LauncherPath()), expected.string());
  platform::Log("a line after the start");
  platform::CloseLog();
  const std::string log = test::ReadFileBytes(expected);
  EXPECT_NE(log.find(" started in " + game_.path().string()), std::string::npos) << log;
  EXPECT_NE(log.find(" a line after the start"), std::string::npos) << log;
  EXPECT_FALSE(fs::exists(state_ / "vlmr"));
}

TEST_F(LauncherLogStart, AGameFolderThatCannotHoldItSendsTheLogToTheUsersStateFolder) {
  game_.Write(".vlmr", "a file where the launcher's folder would be");
  const fs::path expected = state_ / "vlmr/launcher.log";
  EXPECT_EQ(StartLauncherLog(game_.LauncherPath()), expected.string());
  platform::CloseLog();
  EXPECT_NE(test::ReadFileBytes(expected).find(" started in " + game_.path().string()), std::string::npos);
}

}  // namespace
}  // namespace vlmr::app
