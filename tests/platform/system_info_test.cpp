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
  const std::string executable = ExecutablePath();
  const std::filesystem::path self(std::u8string(executable.begin(), executable.end()));
  EXPECT_TRUE(self.is_absolute());
  EXPECT_EQ(self.stem(), "platform_tests");
  EXPECT_TRUE(std::filesystem::is_regular_file(self));
  test::TempDir dir;
  std::filesystem::path saved = std::filesystem::current_path();
  ASSERT_TRUE(SetCurrentDirectoryNative(test::Utf8Of(dir.path())));
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir.path()));
  EXPECT_FALSE(SetCurrentDirectoryNative(test::Utf8Of(dir / "missing")));
  EXPECT_FALSE(SetCurrentDirectoryNative(""));
  std::filesystem::current_path(saved);
}

}  // namespace
}  // namespace vlmr::platform
