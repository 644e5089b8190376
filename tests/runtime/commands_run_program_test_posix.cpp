// The run-program command against real child processes (shell scripts).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "runtime/commands.h"
#include "support/temp_dir.h"

namespace vlmr::rt {
namespace {

using namespace std::chrono_literals;

// Waits (bounded, as a guard against hanging) until a file appears.
bool EventuallyExists(const std::filesystem::path& path) {
  for (int i = 0; i < 300 && !std::filesystem::exists(path); ++i) std::this_thread::sleep_for(50ms);
  return std::filesystem::exists(path);
}

TEST(RunProgram, WithWaitReturnsOnlyAfterTheChildHasEnded) {
  test::TempDir dir;
  const std::string done = (dir / "done").string();
  const std::string line = "sh -c \"sleep 0.3; echo ok > '" + done + "'\"";
  ASSERT_TRUE(cmd::RunProgram(line.c_str(), true));
  EXPECT_EQ(test::ReadFileBytes(done), "ok\n");
}

TEST(RunProgram, WithoutWaitReturnsWhileTheChildStillRuns) {
  test::TempDir dir;
  const std::string gate = (dir / "gate").string();
  const std::string done = (dir / "done").string();
  ASSERT_EQ(mkfifo(gate.c_str(), 0600), 0);
  // The child blocks until the test writes to the gate.
  const std::string line = "sh -c \"read x < '" + gate + "'; echo $x > '" + done + "'\"";
  auto started = std::async(std::launch::async, [&] { return cmd::RunProgram(line.c_str()); });
  if (started.wait_for(30s) != std::future_status::ready) {
    std::ofstream(gate) << "release\n";
    FAIL() << "run program without wait waited for the child";
  }
  EXPECT_TRUE(started.get());
  EXPECT_FALSE(std::filesystem::exists(done));
  std::ofstream(gate) << "go\n";
  ASSERT_TRUE(EventuallyExists(done));
}

TEST(RunProgram, AMissingProgramOrAnEmptyLineIsFalse) {
  EXPECT_FALSE(cmd::RunProgram("vlmr-no-such-program-here --x", true));
  EXPECT_FALSE(cmd::RunProgram(nullptr));
}

}  // namespace
}  // namespace vlmr::rt
