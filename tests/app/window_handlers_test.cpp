// Start game, minimise and close on the real window, headless.
#include "app/window_handlers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "app/launcher_startup.h"
#include "platform/native_path.h"
#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"
#include "runtime/runtime_frame.h"
#include "support/real_launcher_window.h"

namespace vlmr::test {
namespace {

namespace ids = rt::ids;

const char* const kRefusal = "提示: 请把登陆器放在游戏目录运行.\n";

// The update worker of these tests: counts its runs and, while `hold` is
// set, stays busy so the test can see that nobody waits for it; like the
// update run it enables the start button when it is done.
std::atomic<int> g_runs{0};
std::atomic<int> g_finished{0};
std::atomic<bool> g_hold{false};
void CountingWorker() {
  ++g_runs;
  while (g_hold) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  rt::SetControlBool(ids::kLauncherWindow, ids::kStartButton, ids::kSlotDisabled, false);
  ++g_finished;
}

// Lets every started worker end, so none writes to a window of a later test.
void ReleaseWorkers() {
  g_hold = false;
  for (int i = 0; i < 5000 && g_finished < g_runs; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

bool WaitForRuns(int count) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (g_runs < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return g_runs >= count;
}

class WindowHandlers : public RealLauncherWindow {
 protected:
  void SetUp() override {
    g_runs = 0;
    g_finished = 0;
    g_hold = false;
    app::EventTable events;
    events.clicks[ids::kStartButton] = [] { app::StartGame(CountingWorker); };
    events.clicks[ids::kMinimiseButton] = app::MinimiseWindow;
    events.clicks[ids::kCloseButton] = app::CloseWindow;
    Open(std::move(events));
  }
  void TearDown() override { ReleaseWorkers(); }
};

TEST_F(WindowHandlers, OutsideTheGameFolderEveryClickIsRefusedAndNothingStarts) {
  testing::internal::CaptureStderr();
  Click(ids::kStartButton);
  Click(ids::kStartButton);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), std::string(kRefusal) + kRefusal);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(g_runs, 0);
}

TEST_F(WindowHandlers, ADirectoryNamedLikeTheClientPassesAndTheWorkerIsNotWaitedFor) {
  std::filesystem::create_directory(dir_ / "CorvaneQXT.EXE");
  g_hold = true;
  testing::internal::CaptureStderr();
  Click(ids::kStartButton);  // returns while the worker is still busy
  EXPECT_TRUE(WaitForRuns(1));
  EXPECT_TRUE(g_hold);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(WindowHandlers, ASecondClickWhileARunWorksStartsNoSecondRun) {
  std::filesystem::create_directory(dir_ / "CorvaneQXT.EXE");
  g_hold = true;
  Click(ids::kStartButton);
  Click(ids::kStartButton);  // a double click: the button is already disabled
  EXPECT_TRUE(WaitForRuns(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(g_runs, 1);
  ReleaseWorkers();  // the run ends and enables the button again
  Click(ids::kStartButton);
  EXPECT_TRUE(WaitForRuns(2));
}

TEST_F(WindowHandlers, AClientFileBesideTheLauncherPassesWhateverTheFolderIsCalled) {
  dir_.Write("CorvaneQXT.EXE", "MZ");
  Click(ids::kStartButton);
  EXPECT_TRUE(WaitForRuns(1));
  // A folder named with characters code page 936 lacks, as start-up names it.
  ReleaseWorkers();
  dir_.Write("游戏😀/CorvaneQXT.EXE", "MZ");
  rt::SetProgramDirectory(platform::ToLauncherPath((dir_ / "游戏😀").string()));
  Click(ids::kStartButton);
  EXPECT_TRUE(WaitForRuns(2));
}

TEST_F(WindowHandlers, TheMinimiseButtonMinimisesTheWindow) {
  Click(ids::kMinimiseButton);
  EXPECT_TRUE(windows().IsMinimised(ids::kLauncherWindow));
  EXPECT_TRUE(windows().IsOpen(ids::kLauncherWindow));
}

TEST_F(WindowHandlers, TheCloseButtonEndsTheMessageLoop) {
  PushClickOn(ids::kCloseButton);
  EXPECT_EQ(rt::run_message_loop(), 0);
  EXPECT_FALSE(windows().IsOpen(ids::kLauncherWindow));
}

}  // namespace
}  // namespace vlmr::test
