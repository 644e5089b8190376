// Program start and end as main runs them, in child processes: exit code 0
// when the window is closed, also while the update worker still runs; a
// window that cannot be loaded is fatal.
#include "app/launcher_startup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/window_handlers.h"
#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "runtime/text_code_page.h"
#include "support/environment.h"
#include "support/exit_status.h"
#include "support/real_launcher_window.h"

namespace vlmr::test {
namespace {

namespace ids = rt::ids;
using namespace rt::literals;

std::atomic<int> g_workerWrites{0};

// An update worker that never finishes: it keeps writing the status text.
void EndlessWorker() {
  for (int i = 0;; ++i, ++g_workerWrites) {
    rt::SetControlText(ids::kLauncherWindow, ids::kStatusLabel, ids::kSlotText,
                       i % 2 ? "正在更新文件,"_t : "50%"_t);
    rt::SetControlInt(ids::kLauncherWindow, ids::kProgressBar, ids::kSlotPosition, i % 101);
  }
}

TEST(LauncherStartup, ClosingWhileTheWorkerRunsEndsWithExitCodeZero) {
  TempDir game;
  std::filesystem::create_directory(game / "CorvaneQXT.EXE");
  EXPECT_EXIT(
      {
        test::SetEnvironment("SDL_VIDEODRIVER", "offscreen");
        app::InitialiseLauncher("vlmr-launcher");
        rt::SetProgramDirectory(game.LauncherPath());
        app::EventTable events;
        events.windowCreated = [] {
          // The user's first two clicks: start game, then close.
          PushClickOn(ids::kStartButton);
          PushClickOn(ids::kCloseButton);
        };
        events.clicks[ids::kStartButton] = [] { app::StartGame(EndlessWorker); };
        events.clicks[ids::kCloseButton] = [] {
          auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
          while (g_workerWrites < 1000) {  // close only once the worker is busy
            if (std::chrono::steady_clock::now() > deadline) std::exit(4);
            std::this_thread::yield();
          }
          app::CloseWindow();
        };
        app::LoadLauncherWindow(std::move(events));
        if (rt::TextCodePage != 936) std::exit(3);
        app::RunUntilClosed();
      },
      testing::ExitedWithCode(0), "");
}

TEST(LauncherStartup, AWindowThatCannotBeLoadedIsFatal) {
  EXPECT_EXIT(
      {
        test::SetEnvironment("SDL_VIDEODRIVER", "no-such-driver");
        app::InitialiseLauncher("vlmr-launcher");
        app::LoadLauncherWindow({});
        std::exit(0);
      },
      testing::ExitedWithCode(test::ExitStatusOfMinusOne()),
      "警告: 程序缺少界面运行库必须依赖的核心文件 LumoVostr_Win32.lib.*"
      "错误: 运行时出错!.*载入启动窗口失败");
}

}  // namespace
}  // namespace vlmr::test
