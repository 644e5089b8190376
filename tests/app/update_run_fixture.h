// The update run's test fixture: a real HTTP server on 127.0.0.1, a real
// game folder with a stand-in client, and the launcher window's controls held
// by the recording window system.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/launcher_log_start.h"
#include "app/update_run.h"
#include "platform/codepage.h"
#include "platform/launcher_log.h"
#include "platform/md5.h"
#include "runtime/launcher_ids.h"
#include "runtime/recording_window_system.h"
#include "runtime/runtime_frame.h"
#include "support/environment.h"
#include "support/game_folder.h"
#include "support/server_suite.h"
#include "support/http_test_server.h"
#include "support/temp_dir.h"
#include "support/test_data.h"
#include "update/manifest_container.h"

namespace vlmr::app {

namespace fs = std::filesystem;
namespace ids = rt::ids;

// The run of a build without a manifest key: manifests are taken unsigned.
inline const ManifestKey kNoManifestKey;

// "2026-12-09 13:08:01.123 +0100 " before every log line.
inline constexpr size_t kTimestampLength = 30;

class UpdateRunTest : public testing::Test {
 protected:
  UpdateRunTest() : previousDirectory_(rt::ProgramDirectory()), previousCwd_(fs::current_path()) {
    test::LoadServerSuite();
    rt::SetProgramDirectory(game_.LauncherPath());
    fs::current_path(game_.path());
    window_.AddWindow(ids::kLauncherWindow,
                      {ids::kStatusLabel, ids::kPercentLabel, ids::kProgressBar,
                       ids::kStartButton, ids::kBoxOldStyle, ids::kBoxNewStyle});
    window_.MarkTextProperty(ids::kLauncherWindow, ids::kStatusLabel, ids::kSlotText);
    window_.MarkTextProperty(ids::kLauncherWindow, ids::kPercentLabel, ids::kSlotText);
    rt::InstallWindowSystem(&window_);
    test::InstallStandInClient(game_);
    game_.Write("Corvane.INI", "[Client]\r\nSCREEN_WIDTH\t0\r\nSCREEN_HEIGHT\t0\r\n");
    test::SetEnvironment("VLMR_MANIFEST_URL", server_.Url("/Updateini2.ini").c_str());
    StartLauncherLog(game_.LauncherPath());
  }
  ~UpdateRunTest() override {
    // The launch does not wait for the client; let it finish before its folder goes.
    auto status = Texts(ids::kStatusLabel);
    if (!status.empty() && status.back() == "游戏已启动...") ClientStarted();
    platform::CloseLog();
    test::UnsetEnvironment("VLMR_MANIFEST_URL");
    rt::InstallWindowSystem(nullptr);
    rt::SetProgramDirectory(previousDirectory_);
    fs::current_path(previousCwd_);
  }

  // Serves `content` at /files/<name> and returns its manifest line.
  std::string Publish(const std::string& relativePath, const std::string& content) {
    std::string urlPath = "/files/" + std::to_string(published_++);
    server_.Serve(urlPath, content);
    return relativePath + "\t" + platform::Md5UpperHex(content) + "\t" + server_.Url(urlPath) + "\r\n";
  }
  void ServeManifest(const std::string& text) {
    server_.Serve("/Updateini2.ini", update::EncodeManifestContainer(text));
  }

  std::string RunAndSay(const ManifestKey& manifestKey = kNoManifestKey) {
    testing::internal::CaptureStderr();
    UpdateRun(manifestKey);
    return testing::internal::GetCapturedStderr();
  }

  bool ClientStarted() {
    for (int i = 0; i < 300 && !fs::exists(game_ / "client-run.txt"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return fs::exists(game_ / "client-run.txt");
  }
  std::vector<std::string> Texts(uint32_t control) {
    std::vector<std::string> utf8;
    for (const auto& t : window_.TextHistory(ids::kLauncherWindow, control, ids::kSlotText)) {
      utf8.push_back(platform::GbkToUtf8(t));
    }
    return utf8;
  }
  std::vector<uint64_t> Values(uint32_t control, int32_t slot) {
    return window_.History(ids::kLauncherWindow, control, slot);
  }
  // The launcher's log in the game folder, without the timestamps.
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines = test::ReadFileLines(game_ / ".vlmr/launcher.log");
    for (std::string& line : lines) line.erase(0, kTimestampLength);
    return lines;
  }
  // The log lines that start with `prefix`.
  std::vector<std::string> LogLinesFrom(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : LogLines()) {
      if (line.starts_with(prefix)) found.push_back(line);
    }
    return found;
  }
  size_t FileRequests() {
    size_t n = 0;
    for (const auto& r : server_.Requests()) n += r.target.rfind("/files/", 0) == 0;
    return n;
  }

  test::TempDir game_;
  test::HttpTestServer server_;
  rt::RecordingWindowSystem window_;
  std::string previousDirectory_;
  fs::path previousCwd_;
  int published_ = 0;
};

// A death test whose child is forked at the statement rather than started
// afresh, so that it works in this test's game folder and talks to this
// test's server (whose thread stays in the parent and answers the child):
// what the child leaves on disk is what the test then looks at.
template <typename Fixture>
class ForkedDeathTest : public Fixture {
 protected:
  ForkedDeathTest() { GTEST_FLAG_SET(death_test_style, "fast"); }
  ~ForkedDeathTest() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

}  // namespace vlmr::app
