// The resumable download's test fixture: a real server on 127.0.0.1 serving
// a file, a local folder, the recording window system, and a progress
// callback that records its calls.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "runtime/launcher_ids.h"
#include "runtime/recording_window_system.h"
#include "runtime/rt_heap.h"
#include "runtime/window_system.h"
#include "support/http_test_server.h"
#include "support/temp_dir.h"
#include "support/test_data.h"
#include "update/download.h"

namespace vlmr::update {

namespace ids = rt::ids;
using test::HttpTestServer;

using Call = std::array<intptr_t, 4>;
inline std::vector<Call> g_calls;

inline intptr_t VLMR_WINAPI RecordProgress(intptr_t announced, intptr_t received, intptr_t elapsed, intptr_t thisCall) {
  g_calls.push_back({announced, received, elapsed, thisCall});
  return 0;
}

class Download : public testing::Test {
 protected:
  void SetUp() override {
    windows.AddWindow(ids::kLauncherWindow, {ids::kStatusLabel});
    windows.MarkTextProperty(ids::kLauncherWindow, ids::kStatusLabel, ids::kSlotText);
    rt::InstallWindowSystem(&windows);
    g_calls.clear();
    ResumeOffset = 0;
    content = test::TestBytes(100000);
    server.Serve("/game/data.pak", content);
  }
  void TearDown() override { rt::InstallWindowSystem(nullptr); }

  std::string LocalPath() const { return dir.LauncherPath() + "\\data.pak"; }
  std::string Local() const { return dir.Read("data.pak"); }
  int32_t Get(int32_t offset = 0, bool resume = false, const std::string& path = "/game/data.pak") {
    return DownloadFile(server.Url(path).c_str(), LocalPath().c_str(), &RecordProgress, offset, resume);
  }
  std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const auto& box : windows.Boxes()) texts.push_back(box.text);
    return texts;
  }

  rt::RecordingWindowSystem windows;
  test::TempDir dir;
  HttpTestServer server;
  std::string content;
};

}  // namespace vlmr::update
