#include "platform/system_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>

#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

std::promise<intptr_t>* g_received = nullptr;

void Receive(intptr_t parameter) { g_received->set_value(parameter); }

TEST(SystemInfo, DetachedThreadRunsTheRoutineWithItsParameter) {
  std::promise<intptr_t> received;
  g_received = &received;
  ASSERT_TRUE(StartDetachedThread(&Receive, 42));
  EXPECT_EQ(received.get_future().get(), 42);
  EXPECT_FALSE(StartDetachedThread(nullptr, 0));
}

TEST(SystemInfo, ExecutableAndCurrentDirectory) {
  EXPECT_EQ(ExecutablePath(), std::filesystem::canonical("/proc/self/exe").string());
  test::TempDir dir;
  std::filesystem::path saved = std::filesystem::current_path();
  ASSERT_TRUE(SetCurrentDirectoryNative(dir.path().string()));
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir.path()));
  EXPECT_FALSE(SetCurrentDirectoryNative((dir / "missing").string()));
  EXPECT_FALSE(SetCurrentDirectoryNative(""));
  std::filesystem::current_path(saved);
}

TEST(SystemInfo, TickCountIsTheBootClockInMilliseconds) {
  timespec before{};
  clock_gettime(CLOCK_BOOTTIME, &before);
  uint32_t ticks = TickCount();
  timespec after{};
  clock_gettime(CLOCK_BOOTTIME, &after);
  auto ms = [](const timespec& t) {
    return static_cast<uint32_t>(static_cast<uint64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000);
  };
  EXPECT_LE(static_cast<uint32_t>(ticks - ms(before)), static_cast<uint32_t>(ms(after) - ms(before)));
}

}  // namespace
}  // namespace vlmr::platform
