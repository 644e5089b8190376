// Start thread, message box, send message and program directory.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "runtime/commands.h"
#include "runtime/launcher_ids.h"
#include "runtime/recording_window_system.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "support/temp_dir.h"

namespace vlmr::rt {
namespace {

using namespace literals;
using namespace std::chrono_literals;

std::atomic<int32_t> g_threadParameter{0};
std::atomic<bool> g_threadRan{false};
void RecordParameter(int32_t parameter) { g_threadParameter = parameter; }
void RecordRun() { g_threadRan = true; }

TEST(StartThread, RunsTheRoutineWithAndWithoutItsParameter) {
  ASSERT_TRUE(cmd::StartThread(&RecordRun));
  ASSERT_TRUE(cmd::StartThread(&RecordParameter, 42));
  for (int i = 0; i < 300 && !(g_threadRan && g_threadParameter == 42); ++i) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_TRUE(g_threadRan);
  EXPECT_EQ(g_threadParameter, 42);
}

class WindowCommands : public testing::Test {
 protected:
  void SetUp() override { InstallWindowSystem(&recorder); }
  void TearDown() override { InstallWindowSystem(nullptr); }
  RecordingWindowSystem recorder;
};

TEST_F(WindowCommands, MessageBoxWithoutCaptionShowsTheDefaultCaption) {
  recorder.QueueAnswer(kBoxYes);
  EXPECT_EQ(cmd::MessageBox("hello", kMbYesNo), kBoxYes);
  EXPECT_EQ(cmd::MessageBox("second"), kBoxOk);
  EXPECT_EQ(cmd::MessageBox("third", std::nullopt, ""), kBoxOk);
  const auto boxes = recorder.Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "hello");
  EXPECT_EQ(boxes[0].caption, "信息："_t);
  EXPECT_EQ(boxes[0].flags, kMbYesNo);
  EXPECT_EQ(boxes[1].flags, 0);
  EXPECT_EQ(boxes[2].caption, "");  // an explicit empty caption stays empty
}

TEST_F(WindowCommands, SendMessageReachesTheWindowSystem) {
  cmd::SendMessage(ids::kLauncherWindow, kWmSysCommand, kScMinimize, 0);
  const auto sent = recorder.SentMessages();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].windowId, ids::kLauncherWindow);
  EXPECT_EQ(sent[0].message, kWmSysCommand);
  EXPECT_EQ(sent[0].wparam, static_cast<int64_t>(kScMinimize));
}

TEST(ProgramDirectory, IsTheDirectoryTheRuntimeHolds) {
  const std::string saved = rt::ProgramDirectory();
  SetProgramDirectory("\\games\\vlmr");
  EXPECT_EQ(cmd::ProgramDirectory().view(), "\\games\\vlmr");
  SetProgramDirectory(saved);
}

}  // namespace
}  // namespace vlmr::rt
