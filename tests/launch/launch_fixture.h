// The client launch's test fixture: a real game folder with the stand-in
// client, real data files and a real Corvane.INI, the damage-style boxes held
// by the recording window system.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "launch/client_command_line.h"
#include "launch/launch_client.h"
#include "runtime/recording_window_system.h"
#include "runtime/runtime_frame.h"
#include "settings/settings_boxes.h"
#include "settings/settings_store.h"
#include "support/game_folder.h"
#include "support/server_suite.h"
#include "support/temp_dir.h"

namespace vlmr::launch {

namespace fs = std::filesystem;
namespace ids = rt::ids;
using Arguments = std::vector<std::string>;

class LaunchClientTest : public testing::Test {
 protected:
  LaunchClientTest()
      : previousDirectory_(rt::ProgramDirectory()), previousCwd_(fs::current_path()) {
    test::LoadServerSuite();
    // What start-up does: the program directory is the launcher's folder and
    // the current directory.
    rt::SetProgramDirectory(game_.LauncherPath());
    fs::current_path(game_.path());
    window_.AddWindow(ids::kLauncherWindow, {ids::kBoxOldStyle, ids::kBoxNewStyle});
    rt::InstallWindowSystem(&window_);
    test::LayOutGameFolder(game_);
    SetRecord({1, 1, 1, 1, 1, 1});
    settings::SetTicked(ids::kBoxNewStyle, true);
  }
  ~LaunchClientTest() override {
    rt::InstallWindowSystem(nullptr);
    rt::SetProgramDirectory(previousDirectory_);
    fs::current_path(previousCwd_);
  }

  static void SetRecord(const ClientOptions& o) {
    settings::SettingsRecord& r = settings::Settings();
    r.Model = o.Model;
    r.ResolvingPower = o.ResolvingPower;
    r.Senior = o.Senior;
    r.Frequency = o.Frequency;
    r.Music = o.Music;
    r.SoundEffects = o.SoundEffects;
  }

  // Launches and returns the stand-in's record: working directory, then the
  // arguments. Waits for the client, which the launch does not wait for.
  Arguments Launch() {
    fs::remove(game_ / "client-run.txt");
    LaunchClient();
    return ClientRun();
  }
  Arguments ClientRun() { return test::ClientRun(game_); }
  std::string GameFolder() const { return fs::canonical(game_.path()).string(); }

  test::TempDir game_;
  rt::RecordingWindowSystem window_;
  std::string previousDirectory_;
  fs::path previousCwd_;
};

}  // namespace vlmr::launch
