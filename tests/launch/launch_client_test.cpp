// The client launch against a real game folder: a stand-in client (a shell
// script that records its arguments and working directory), real data files,
// a real Corvane.INI, the damage-style boxes held by the recording window system.
#include "launch/launch_client.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "launch/client_command_line.h"
#include "runtime/recording_window_system.h"
#include "runtime/runtime_frame.h"
#include "settings/settings_boxes.h"
#include "settings/settings_store.h"
#include "support/game_folder.h"
#include "support/server_suite.h"
#include "support/temp_dir.h"

namespace vlmr::launch {
namespace {

namespace fs = std::filesystem;
namespace ids = rt::ids;
using Arguments = std::vector<std::string>;

using test::kDataFolder;
using test::kStandInClient;

class LaunchClientTest : public testing::Test {
 protected:
  LaunchClientTest()
      : previousDirectory_(rt::ProgramDirectory()), previousCwd_(fs::current_path()) {
    test::LoadServerSuite();
    // What start-up does: the program directory is the launcher's folder and
    // the current directory.
    rt::SetProgramDirectory(game_.LauncherPath());
    fs::current_path(game_.path());
    window_.AddWindow(ids::kLauncherWindow, {ids::kBoxOldStyle, ids::kBoxNewStyle});
    rt::InstallWindowSystem(&window_);
    test::LayOutGameFolder(game_);
    SetRecord({1, 1, 1, 1, 1, 1});
    settings::SetTicked(ids::kBoxNewStyle, true);
  }
  ~LaunchClientTest() override {
    rt::InstallWindowSystem(nullptr);
    rt::SetProgramDirectory(previousDirectory_);
    fs::current_path(previousCwd_);
  }

  static void SetRecord(const ClientOptions& o) {
    settings::SettingsRecord& r = settings::Settings();
    r.Model = o.Model;
    r.ResolvingPower = o.ResolvingPower;
    r.Senior = o.Senior;
    r.Frequency = o.Frequency;
    r.Music = o.Music;
    r.SoundEffects = o.SoundEffects;
  }

  // Launches and returns the stand-in's record: working directory, then the
  // arguments. Waits for the client, which the launch does not wait for.
  Arguments Launch() {
    fs::remove(game_ / "client-run.txt");
    LaunchClient();
    return ClientRun();
  }
  Arguments ClientRun() { return test::ClientRun(game_); }
  std::string GameFolder() const { return fs::canonical(game_.path()).string(); }

  test::TempDir game_;
  rt::RecordingWindowSystem window_;
  std::string previousDirectory_;
  fs::path previousCwd_;
};

TEST_F(LaunchClientTest, DefaultsStartTheClientInTheGameFolderWithTheNewStyleData) {
  EXPECT_EQ(Launch(), (Arguments{GameFolder(), "/USE_SERVER", "1", "/ADDR", "61", "/PORT", "0",
                                 "800600", "1", "/REFRESHRATE", "56"}));
  EXPECT_EQ(game_.Read(kDataFolder + "0009.d2a"), "NEW STYLE");
  EXPECT_EQ(game_.Read("Corvane.INI"),
            "[Client]\r\nSCREEN_WIDTH\t800\r\nSCREEN_HEIGHT\t600\r\nSOUND=1");
  EXPECT_TRUE(window_.Boxes().empty());
}

TEST_F(LaunchClientTest, EverySwitchAppearsInItsFixedOrder) {
  SetRecord({2, 5, 0, 4, 0, 0});
  EXPECT_EQ(Launch(), (Arguments{GameFolder(), "/USE_SERVER", "1", "/ADDR", "61", "/PORT", "0",
                                 "/FULLSCREEN", "19201080", "1", "/UseBlinearFiltering", "1",
                                 "/REFRESHRATE", "72", "/BGMOFF", "1", "/SEOFF", "1"}));
  EXPECT_EQ(game_.Read("Corvane.INI"),
            "[Client]\r\nSCREEN_WIDTH\t1920\r\nSCREEN_HEIGHT\t1080\r\nSOUND=1");
}

TEST(ClientCommandLine, KeepsItsExactSpacing) {
  EXPECT_EQ(ClientCommandLine({1, 1, 1, 1, 1, 1}),
            "CorvaneQXT.EXE  /USE_SERVER 1 /ADDR 61 /PORT 0 800600 1 /REFRESHRATE 56");
  EXPECT_EQ(ClientCommandLine({2, 5, 0, 4, 0, 0}),
            "CorvaneQXT.EXE  /USE_SERVER 1 /ADDR 61 /PORT 0 /FULLSCREEN 19201080 1"
            " /UseBlinearFiltering 1 /REFRESHRATE 72 /BGMOFF 1 /SEOFF 1");
  EXPECT_EQ(ClientCommandLine({1, 2, 1, 0, 1, 1}),
            "CorvaneQXT.EXE  /USE_SERVER 1 /ADDR 61 /PORT 0 1024768 1");
  EXPECT_EQ(ClientCommandLine({1, 3, 1, 5, 1, 1}).substr(46), " 1366768 1 /REFRESHRATE 75");
  EXPECT_EQ(ClientCommandLine({1, 4, 1, 2, 1, 1}).substr(46), " 1600900 1 /REFRESHRATE 60");
  EXPECT_EQ(ClientCommandLine({1, 1, 1, 3, 1, 1}).substr(46), " 800600 1 /REFRESHRATE 70");
}

TEST_F(LaunchClientTest, ResolutionOutsideOneToFiveGivesZeroByZero) {
  for (int32_t resolvingPower : {0, 6, -1}) {
    EXPECT_EQ(ClientCommandLine({1, resolvingPower, 1, 9, 1, 1}),
              "CorvaneQXT.EXE  /USE_SERVER 1 /ADDR 61 /PORT 0 00 1");
  }
  SetRecord({1, 6, 1, 1, 1, 1});
  EXPECT_EQ(Launch()[7], "00");
  EXPECT_EQ(game_.Read("Corvane.INI"),
            "[Client]\r\nSCREEN_WIDTH\t0\r\nSCREEN_HEIGHT\t0\r\nSOUND=1");
}

TEST_F(LaunchClientTest, TickedDamageStyleWinsTheSwapWhileTheRecordDrivesTheCommandLine) {
  // Saved: new style, window mode. Ticked since, unconfirmed: old style and
  // 1920*1080 (the record still says 800*600).
  settings::Settings().AttackFontType = 1;
  settings::SetTicked(ids::kBoxNewStyle, false);
  settings::SetTicked(ids::kBoxOldStyle, true);
  EXPECT_EQ(Launch()[7], "800600");
  EXPECT_EQ(game_.Read(kDataFolder + "0009.d2a"), "OLD STYLE");
}

TEST_F(LaunchClientTest, DataFileSwapFollowsBothBoxesInOrder) {
  settings::SetTicked(ids::kBoxOldStyle, true);  // both ticked: new copied last
  Launch();
  EXPECT_EQ(game_.Read(kDataFolder + "0009.d2a"), "NEW STYLE");

  settings::SetTicked(ids::kBoxOldStyle, false);
  settings::SetTicked(ids::kBoxNewStyle, false);  // neither: nothing copied
  game_.Write(kDataFolder + "0009.d2a", "ACTIVE");
  Launch();
  EXPECT_EQ(game_.Read(kDataFolder + "0009.d2a"), "ACTIVE");

  settings::SetTicked(ids::kBoxOldStyle, true);  // missing variant: active file kept
  fs::remove(game_ / (kDataFolder + "0009.old"));
  Launch();
  EXPECT_EQ(game_.Read(kDataFolder + "0009.d2a"), "ACTIVE");
}

TEST_F(LaunchClientTest, ConfigurationKeepsEveryOtherLineByteForByte) {
  // Empty lines stay; only the break after the last line goes.
  game_.Write("Corvane.INI", "[Client]\r\nW\r\nH\r\n\r\n\xD6\xD0\xCE\xC4=\xB0\xA3\r\nX=1\r\n");
  Launch();
  EXPECT_EQ(game_.Read("Corvane.INI"),
            "[Client]\r\nSCREEN_WIDTH\t800\r\nSCREEN_HEIGHT\t600\r\n\r\n\xD6\xD0\xCE\xC4="
            "\xB0\xA3\r\nX=1");
}

TEST_F(LaunchClientTest, Utf8ConfigurationWithByteOrderMarkStaysUtf8) {
  fs::remove(game_ / "Corvane.INI");
  game_.Write("corvane.ini",
              "\xEF\xBB\xBF[\xE5\xAE\xA2\xE6\x88\xB7]\r\nW\r\nH\r\nNAME=\xE2\x82\xAC\r\n");
  Launch();
  EXPECT_EQ(game_.Read("corvane.ini"),
            "\xEF\xBB\xBF[\xE5\xAE\xA2\xE6\x88\xB7]\r\nSCREEN_WIDTH\t800\r\nSCREEN_HEIGHT\t600\r\n"
            "NAME=\xE2\x82\xAC");
  EXPECT_FALSE(fs::exists(game_ / "Corvane.INI"));
}

TEST_F(LaunchClientTest, ShortMissingOrEmptyConfigurationIsLeftAsItWas) {
  for (const char* content : {"[Client]\r\nSCREEN_WIDTH\t640\r\n", "one line", ""}) {
    SCOPED_TRACE(content);
    game_.Write("Corvane.INI", content);
    testing::internal::CaptureStderr();
    Launch();
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(game_.Read("Corvane.INI"), content);
    EXPECT_NE(report.find("Corvane.INI"), std::string::npos) << report;
  }
  const std::string withZero("[Client]\r\nW\0\r\nH\r\nTAIL\r\n", 23);
  game_.Write("Corvane.INI", withZero);
  testing::internal::CaptureStderr();
  Launch();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(game_.Read("Corvane.INI"), withZero);

  fs::remove(game_ / "Corvane.INI");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Launch()[7], "800600");  // the client starts all the same
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Corvane.INI"), std::string::npos);
  EXPECT_FALSE(fs::exists(game_ / "Corvane.INI"));  // the client starts all the same
}

TEST_F(LaunchClientTest, ClientIsFoundWhateverTheCaseOfItsName) {
  fs::remove(game_ / "CorvaneQXT.EXE");
  test::InstallClient(game_, "corvaneqxt.exe", kStandInClient);
  EXPECT_EQ(Launch().size(), 11u);
}

// PATH set to one folder for the test's length.
class ScopedPath {
 public:
  explicit ScopedPath(const std::string& path) : saved_(std::getenv("PATH")) {
    setenv("PATH", path.c_str(), 1);
  }
  ~ScopedPath() { setenv("PATH", saved_.c_str(), 1); }

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

}  // namespace
}  // namespace vlmr::launch
