// The launch on the update worker's side of the real launcher window
// (headless): the damage-style boxes are read from the window at start time,
// while the command line follows the confirmed settings record.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "app/launcher_startup.h"
#include "launch/launch_client.h"
#include "support/game_folder.h"
#include "support/real_launcher_window.h"
#include "support/server_suite.h"

namespace vlmr::launch {
namespace {

namespace fs = std::filesystem;
namespace ids = rt::ids;

class LaunchFromWindow : public test::RealLauncherWindow {
 protected:
  LaunchFromWindow() : previousCwd_(fs::current_path()) {
    test::LoadServerSuite();
    fs::current_path(dir_.path());
    test::LayOutGameFolder(dir_);
  }
  ~LaunchFromWindow() override { fs::current_path(previousCwd_); }

  // Runs the launch on a worker thread, as the update run does, while this
  // (the UI) thread keeps handling the window's messages.
  void LaunchOnWorker() {
    std::atomic<bool> done{false};
    std::thread worker([&] {
      LaunchClient();
      done = true;
    });
    while (!done) app::LauncherWindowSystem().ProcessPendingMessages();
    worker.join();
  }

  fs::path previousCwd_;
};

TEST_F(LaunchFromWindow, UnconfirmedDamageStyleWinsTheSwapButNotTheCommandLine) {
  Open();  // no settings file: new style, 800*600
  Click(ids::kSettingsButton);
  Click(ids::kBoxOldStyle);
  Click(ids::kBox1920x1080);
  Click(ids::kBoxFullScreen);
  LaunchOnWorker();
  const std::vector<std::string> run = test::ClientRun(dir_);
  EXPECT_EQ(dir_.Read(test::kDataFolder + "0009.d2a"), "OLD STYLE");
  EXPECT_EQ(run, (std::vector<std::string>{fs::canonical(dir_.path()).string(), "/USE_SERVER", "1",
                                           "/ADDR", "61", "/PORT", "0", "800600", "1",
                                           "/REFRESHRATE", "56"}));
  EXPECT_EQ(dir_.Read("Corvane.INI"),
            "[Client]\r\nSCREEN_WIDTH\t800\r\nSCREEN_HEIGHT\t600\r\nSOUND=1");
}

}  // namespace
}  // namespace vlmr::launch
