// The launch of a Windows client on Linux: through Wine, as players on Linux
// run the game; a stand-in wine that records how it was asked, and the real
// Wine with the Windows stand-in client when both are at hand.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "launch/launch_fixture.h"
#include "platform/process.h"
#include "support/environment.h"
#include "support/stand_in_script_posix.h"

namespace vlmr::launch {
namespace {

using test::kStandInClient;

// PATH set to one folder for the test's length.
class ScopedPath {
 public:
  explicit ScopedPath(const std::string& path) : saved_(std::getenv("PATH")) {
    test::SetEnvironment("PATH", path.c_str());
  }
  ~ScopedPath() { test::SetEnvironment("PATH", saved_.c_str()); }

 private:
  std::string saved_;
};

TEST_F(LaunchClientTest, WindowsClientStartsThroughWine) {
  // A Windows executable as client and a stand-in wine that records how it
  // was asked to run it.
  game_.Write("CorvaneQXT.EXE", std::string("MZ\x90\0", 4));
  test::TempDir bin;
  bin.Write("wine",
            std::string(kStandInClient)
                .replace(kStandInClient.find("$(dirname \"$0\")"), 15, game_.path().string()));
  fs::permissions(bin / "wine", fs::perms::owner_exec, fs::perm_options::add);
  ScopedPath path(bin.path().string() + ":/usr/bin:/bin");
  const Arguments run = Launch();
  ASSERT_EQ(run.size(), 12u);
  EXPECT_EQ(run[0], GameFolder());
  EXPECT_EQ(fs::path(run[1]).filename(), "CorvaneQXT.EXE");
  EXPECT_EQ(run[8], "800600");
}

TEST_F(LaunchClientTest, ClientThatCannotStartIsReportedInOneLineAndNoBox) {
  game_.Write("CorvaneQXT.EXE", std::string("MZ\x90\0", 4));
  test::TempDir emptyBin;
  ScopedPath path(emptyBin.path().string());
  testing::internal::CaptureStderr();
  LaunchClient();
  std::string report = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
  EXPECT_NE(report.find("wine"), std::string::npos) << report;

  fs::remove(game_ / "CorvaneQXT.EXE");
  testing::internal::CaptureStderr();
  LaunchClient();
  report = testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("CorvaneQXT.EXE"), std::string::npos) << report;
  EXPECT_TRUE(window_.Boxes().empty());
  EXPECT_EQ(game_.Read("Corvane.INI"),
            "[Client]\r\nSCREEN_WIDTH\t800\r\nSCREEN_HEIGHT\t600\r\nSOUND=1");
}

// The Windows stand-in client (built with MinGW-w64 when the Linux build
// finds it) started through the real Wine: Wine rebuilds the command line it
// hands the program (a quoted full path, single blanks), so the arguments are
// what is checked, not the exact line.
TEST_F(LaunchClientTest, TheWindowsStandInStartsThroughTheRealWine) {
  const std::string standIn = VLMR_WINDOWS_STAND_IN;
  if (standIn.empty() || !fs::exists(standIn) || !fs::exists("/usr/bin/wine")) {
    GTEST_SKIP() << "needs MinGW-w64 and Wine";
  }
  fs::copy_file(standIn, game_ / "CorvaneQXT.EXE", fs::copy_options::overwrite_existing);
  // The prefix the Windows suites use, made once without prompts.
  test::SetEnvironment("WINEPREFIX", ("/tmp/vlmr-wine-" + std::to_string(getuid())).c_str());
  test::SetEnvironment("WINEDEBUG", "-all");
  test::SetEnvironment("WINEDLLOVERRIDES", "mscoree,mshtml=");
  LaunchClient();
  for (int i = 0; i < 900 && !fs::exists(game_ / "client-run.txt"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // a first start makes the prefix
  }
  const std::string record = test::ClientRecord(game_);
  const std::string commandLine = record.substr(0, record.find('\n'));
  const std::vector<std::string> tokens = platform::SplitCommandLine(commandLine);
  EXPECT_EQ(std::vector<std::string>(tokens.begin() + 1, tokens.end()),
            (Arguments{"/USE_SERVER", "1", "/ADDR", "61", "/PORT", "0", "800600", "1", "/REFRESHRATE", "56"}));
  EXPECT_TRUE(tokens.front().ends_with("\\CorvaneQXT.EXE")) << tokens.front();
}

}  // namespace
}  // namespace vlmr::launch
