#include "platform/process.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "support/environment.h"
#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

namespace fs = std::filesystem;
using Tokens = std::vector<std::string>;

class RunProgramTest : public testing::Test {
 protected:
  void SetUp() override { SetProgramDirectoryForLookup(programDir_.path().string()); }
  void TearDown() override {
    SetProgramDirectoryForLookup("");
    test::SetEnvironment("PATH", savedPath_.c_str());
    fs::current_path(savedCwd_);
  }

  // A shell script that appends its arguments, each followed by '|', to `out`.
  static void Recorder(const test::TempDir& dir, const char* name, const fs::path& out,
                       const std::string& prefix = "") {
    WriteExecutable(dir / name, "#!/bin/sh\n" + prefix + "printf '%s|' \"$@\" >> '" +
                                    out.string() + "'\n");
  }
  static void WriteExecutable(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
    fs::permissions(path, fs::perms::owner_all);
  }
  bool Run(const std::string& commandLine, bool wait = true) {
    why_.clear();
    return RunProgram(commandLine, RunOptions{wait, 1}, &why_);
  }

  test::TempDir programDir_;
  test::TempDir other_;
  std::string why_;
  std::string savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
  fs::path savedCwd_ = fs::current_path();
};

// Polls until the condition holds, for at most ten seconds.
bool Eventually(const std::function<bool()>& condition) {
  for (int i = 0; i < 1000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return condition();
}

int ZombieChildren() {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    auto close = line.rfind(')');
    if (close == std::string::npos) continue;
    char state = 0;
    int parent = 0;
    if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 && state == 'Z' &&
        parent == getpid()) {
      ++count;
    }
  }
  return count;
}

TEST_F(RunProgramTest, WaitReturnsAfterTheChildEndedAndNamesMatchWithoutCase) {
  Recorder(programDir_, "record.sh", other_ / "out", "sleep 0.2\n");
  ASSERT_TRUE(Run("RECORD.SH one \"two three\"")) << why_;
  EXPECT_EQ(other_.Read("out"), "one|two three|");
}

TEST_F(RunProgramTest, WithoutWaitTheChildStartsAndIsReaped) {
  Recorder(programDir_, "quick.sh", other_ / "out");
  ASSERT_TRUE(Run("quick.sh started", false)) << why_;
  EXPECT_TRUE(Eventually([&] { return other_.Read("out") == "started|"; }));
  EXPECT_TRUE(Eventually([] { return ZombieChildren() == 0; }));
}

TEST_F(RunProgramTest, ProgramDirectoryComesBeforeCurrentDirectoryThenPath) {
  test::TempDir pathDir;
  Recorder(programDir_, "which.sh", other_ / "out", "echo program >> '" +
                                                        (other_ / "out").string() + "'\n");
  Recorder(other_, "which.sh", other_ / "out", "echo cwd >> '" + (other_ / "out").string() + "'\n");
  Recorder(pathDir, "which.sh", other_ / "out", "echo path >> '" + (other_ / "out").string() + "'\n");
  Recorder(programDir_, "tool.exe", other_ / "out", "echo tool >> '" + (other_ / "out").string() + "'\n");
  fs::current_path(other_.path());
  test::SetEnvironment("PATH", pathDir.path().c_str());
  ASSERT_TRUE(Run("which.sh"));
  ASSERT_TRUE(Run("tool"));  // ".exe" is tried for a name without extension
  SetProgramDirectoryForLookup("");
  ASSERT_TRUE(Run("which.sh"));
  fs::current_path(pathDir.path() / "..");
  ASSERT_TRUE(Run("WHICH.SH"));
  EXPECT_EQ(other_.Read("out"), "program\n|tool\n|cwd\n|path\n|");
}

TEST_F(RunProgramTest, FailuresComeWithAReason) {
  WriteExecutable(programDir_ / "broken.sh", "#!/nonexistent/interpreter\n");
  std::ofstream(programDir_ / "plain.txt") << "not a program";
  EXPECT_FALSE(Run("missing-program.exe x"));
  EXPECT_NE(why_.find("missing-program.exe"), std::string::npos);
  EXPECT_FALSE(Run("broken.sh", false));  // the failed exec is reported, not hidden
  EXPECT_FALSE(why_.empty());
  EXPECT_FALSE(Run("plain.txt"));
  EXPECT_FALSE(why_.empty());
  EXPECT_FALSE(Run("   "));
  EXPECT_FALSE(why_.empty());
}

TEST_F(RunProgramTest, WindowsProgramsRunThroughWine) {
  std::ofstream(programDir_ / "Game.EXE", std::ios::binary) << "MZ\x90";
  test::TempDir wineDir;
  test::SetEnvironment("PATH", wineDir.path().c_str());
  EXPECT_FALSE(Run("game.exe"));
  EXPECT_NE(why_.find("wine"), std::string::npos);
  Recorder(wineDir, "wine", other_ / "out");
  ASSERT_TRUE(Run("game.exe /USE_SERVER 1")) << why_;
  EXPECT_EQ(other_.Read("out"), (programDir_ / "Game.EXE").string() + "|/USE_SERVER|1|");
}

}  // namespace
}  // namespace vlmr::platform
