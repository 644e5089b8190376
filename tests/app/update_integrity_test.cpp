// What the update run installs, against servers that cut, stall, lie about
// lengths, serve wrong bytes or stay busy, a full disk, a killed launcher,
// two launchers at once and hostile paths: a file is installed only when its
// digest is the manifest's, and the player's old copy stays until then.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>

#include "platform/folder_lock.h"
#include "update/download.h"
#include "update_run_fixture.h"

namespace vlmr::app {
namespace {

using test::HttpFault;
using testing::ExitedWithCode;
using testing::KilledBySignal;

constexpr const char* kPartial = "data.pak.vlmr-part";

class UpdateIntegrity : public UpdateRunTest {
 protected:
  // Serves `content` as data.pak (the manifest naming `digest`, its own MD5
  // by default) over an old copy of the file.
  void PublishData(const std::string& content, const std::string& digest = {}) {
    game_.Write("data.pak", "the player's old copy");
    server_.Serve("/files/data", content);
    ServeManifest("data.pak\t" + (digest.empty() ? platform::Md5UpperHex(content) : digest) + "\t" +
                  server_.Url("/files/data") + "\r\n");
  }
  std::vector<test::RecordedRequest> DataRequests() { return server_.RequestsFor("/files/data"); }
  bool Exists(const std::string& name) { return fs::exists(game_ / name); }
};

using UpdateIntegrityDeathTest = ForkedDeathTest<UpdateIntegrity>;

TEST_F(UpdateIntegrity, BytesThatAreNotTheManifestsAreFetchedAgainFromTheFirstByte) {
  const std::string content = test::TestBytes(100000, 'w');
  PublishData(content);
  // Wrong bytes, then a body cut short without a length, then the right one.
  server_.QueueFault("/files/data", HttpFault::Status(200, test::TestBytes(100000, 'x')));
  server_.QueueFault("/files/data", HttpFault::CloseDelimited(60000));
  const std::string said = RunAndSay();
  EXPECT_EQ(game_.Read("data.pak"), content);
  EXPECT_FALSE(Exists(kPartial));
  ASSERT_EQ(DataRequests().size(), 3u);
  for (const auto& request : DataRequests()) EXPECT_FALSE(request.HasHeader("Range"));
  EXPECT_NE(said.find("MD5 is not the manifest's; fetching it again from the first byte"), std::string::npos);
  EXPECT_TRUE(ClientStarted());
}

TEST_F(UpdateIntegrityDeathTest, BytesThatNeverMatchFailTheRunAndKeepTheOldCopy) {
  PublishData(test::TestBytes(5000, 'g'));
  server_.QueueFault("/files/data", HttpFault::Status(200, "not the file"), -1);
  EXPECT_EXIT(UpdateRun(kNoManifestKey), ExitedWithCode(0),
              "never matched the manifest's MD5.*\n.*提示: 文件更新失败,请重启登陆器!");
  EXPECT_EQ(game_.Read("data.pak"), "the player's old copy");
  EXPECT_FALSE(Exists(kPartial));
  EXPECT_FALSE(ClientStarted());
}

TEST_F(UpdateIntegrity, DigestsInEitherCaseAndDigestsThatCannotBeChecked) {
  const std::string content = "current content";
  game_.Write("current.dat", content);
  std::string lower = platform::Md5UpperHex(content);
  for (char& c : lower) c = static_cast<char>(std::tolower(c));
  server_.Serve("/files/unchecked", "whatever the server says");
  ServeManifest("current.dat\t" + lower + "\t" + server_.Url("/files/current") + "\r\n" +
                "unchecked.dat\t\t" + server_.Url("/files/unchecked") + "\r\n");
  for (int run = 0; run < 2; ++run) {
    const std::string said = RunAndSay();
    EXPECT_NE(said.find("unchecked.dat: the manifest gives no 32-digit MD5"), std::string::npos) << said;
  }
  EXPECT_TRUE(server_.RequestsFor("/files/current").empty());           // a lower-case digest matches
  EXPECT_EQ(server_.RequestsFor("/files/unchecked").size(), 2u);          // no digest: every start
  EXPECT_EQ(game_.Read("unchecked.dat"), "whatever the server says");  // installed unchecked
}

TEST_F(UpdateIntegrity, ABusyServerIsAskedAgainAfterTheWaitItNames) {
  const std::string content = test::TestBytes(20000, 'b');
  PublishData(content);
  server_.QueueFault("/files/data", HttpFault::Status(503, "busy", 1));
  server_.QueueFault("/files/data", HttpFault::Status(429, "slow down"));
  const std::string said = RunAndSay();
  EXPECT_EQ(game_.Read("data.pak"), content);
  EXPECT_NE(said.find("answered 503; trying again in 1000 ms"), std::string::npos) << said;
  EXPECT_NE(said.find("answered 429; trying again in 1000 ms"), std::string::npos) << said;
  EXPECT_TRUE(window_.Boxes().empty());
}

TEST_F(UpdateIntegrityDeathTest, StallsKeepTheOldCopyAndTheNextStartResumesThePartialFile) {
  const std::string content = test::TestBytes(300000, 's');
  PublishData(content);
  server_.QueueFault("/files/data", HttpFault::CutAfter(100000));
  server_.QueueFault("/files/data", HttpFault::CutAfter(0), 5);
  EXPECT_EXIT(UpdateRun(kNoManifestKey), ExitedWithCode(0), "keeps breaking without progress");
  EXPECT_EQ(game_.Read("data.pak"), "the player's old copy");
  EXPECT_EQ(game_.Read(kPartial), content.substr(0, 100000));

  // The next start: the same digest and URL, so the partial file is resumed.
  UpdateRun(kNoManifestKey);
  EXPECT_EQ(game_.Read("data.pak"), content);
  EXPECT_FALSE(Exists(kPartial));
  EXPECT_EQ(DataRequests().back().Header("Range"), "bytes=100000-");
}

TEST_F(UpdateIntegrity, APartialFileOfAnotherDigestIsNotResumed) {
  game_.Write(kPartial, "left by an older manifest");
  const std::string content = test::TestBytes(50000, 'n');
  PublishData(content);
  UpdateRun(kNoManifestKey);
  EXPECT_EQ(game_.Read("data.pak"), content);
  EXPECT_FALSE(DataRequests().front().HasHeader("Range"));
}

// A window system that kills the process at the 20th progress text, as a
// player's kill -9 would, in the middle of the download.
class KillMidDownload : public rt::RecordingWindowSystem {
 public:
  void SetProperty(uint32_t windowId, uint32_t controlId, int32_t index, int32_t element, uint32_t low,
                   uint32_t high) override {
    if (controlId == ids::kStatusLabel && ++writes_ == 20) kill(getpid(), SIGKILL);
    RecordingWindowSystem::SetProperty(windowId, controlId, index, element, low, high);
  }

 private:
  std::atomic<int> writes_{0};
};

void UpdateUntilKilled() {
  KillMidDownload windows;
  windows.AddWindow(ids::kLauncherWindow, {ids::kStatusLabel, ids::kPercentLabel, ids::kProgressBar,
                                           ids::kStartButton});
  rt::InstallWindowSystem(&windows);
  UpdateRun(kNoManifestKey);
}

TEST_F(UpdateIntegrityDeathTest, AKilledLauncherLeavesTheOldCopyAndTheNextStartResumes) {
  const std::string content = test::TestBytes(3 << 20, 'k');
  PublishData(content);
  EXPECT_EXIT(UpdateUntilKilled(), KilledBySignal(SIGKILL), "");
  EXPECT_EQ(game_.Read("data.pak"), "the player's old copy");
  const std::string partial = game_.Read(kPartial);
  ASSERT_GE(partial.size(), 18u * update::kDownloadBlockBytes);
  EXPECT_EQ(partial, content.substr(0, partial.size()));

  UpdateRun(kNoManifestKey);
  EXPECT_EQ(game_.Read("data.pak"), content);
  EXPECT_EQ(DataRequests().back().Header("Range"), "bytes=" + std::to_string(partial.size()) + "-");
}

// A disk that takes 200,000 bytes: the process's file size limit, its signal
// ignored, so writes beyond it fail as on a full disk.
void UpdateOntoAFullDisk() {
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit{200000, 200000};
  setrlimit(RLIMIT_FSIZE, &limit);
  UpdateRun(kNoManifestKey);
}

TEST_F(UpdateIntegrityDeathTest, AFullDiskFailsTheRunWithItsReasonAndRemovesThePartialFile) {
  PublishData(test::TestBytes(500000, 'f'));
  EXPECT_EXIT(UpdateOntoAFullDisk(), ExitedWithCode(0),
              "writing .*data.pak.vlmr-part failed: File too large\n.*提示: 文件更新失败,请重启登陆器!");
  EXPECT_EQ(game_.Read("data.pak"), "the player's old copy");
  EXPECT_FALSE(Exists(kPartial));
}

TEST_F(UpdateIntegrity, ASecondLauncherWaitsForTheFirstAndThenFindsItsFilesCurrent) {
  const std::string content = "the new data";
  PublishData(content);
  fs::create_directory(game_ / ".vlmr");
  std::string why;
  auto other = platform::FolderLock::Acquire(game_.LauncherPath() + "\\.vlmr\\update.lock", &why);
  ASSERT_TRUE(other) << why;  // the other launcher's run
  std::thread run([this] { UpdateRun(kNoManifestKey); });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(server_.Requests().empty());  // still waiting for the other launcher
  game_.Write("data.pak", content);           // which finished the file meanwhile
  other.reset();
  run.join();
  EXPECT_TRUE(DataRequests().empty());
  EXPECT_TRUE(ClientStarted());
}

TEST_F(UpdateIntegrity, ReservedAndOverlongPathsAreRefusedAndNamed) {
  const std::string deep = [] {
    std::string path;
    for (int level = 0; level < 20000; ++level) path += "d\\";
    return path + "f.dat";
  }();
  ServeManifest(Publish(".vlmr\\update.lock", "x") + Publish(".VLMR\\partials.ini", "x") +
                Publish("data.pak.vlmr-part", "x") + Publish(deep, "x") + Publish("a/b/c.dat", "slashes"));
  const std::string said = RunAndSay();
  EXPECT_EQ(FileRequests(), 1u);
  EXPECT_EQ(game_.Read("a/b/c.dat"), "slashes");
  EXPECT_NE(said.find("launcher's own names: .vlmr\\update.lock"), std::string::npos);
  EXPECT_NE(said.find("launcher's own names: .VLMR\\partials.ini"), std::string::npos);
  EXPECT_NE(said.find("launcher's own names: data.pak.vlmr-part"), std::string::npos);
  EXPECT_NE(said.find("longer than the system allows: d\\d\\"), std::string::npos);
  EXPECT_FALSE(Exists("d"));
}

TEST_F(UpdateIntegrity, AFolderOneThousandLevelsDeepIsMade) {
  std::string deep;
  for (int level = 0; level < 1000; ++level) deep += "d\\";
  ServeManifest(Publish(deep + "f.dat", "deep"));
  UpdateRun(kNoManifestKey);
  std::string native;
  for (int level = 0; level < 1000; ++level) native += "d/";
  EXPECT_EQ(game_.Read(native + "f.dat"), "deep");
}

TEST_F(UpdateIntegrity, LinksOfThePlayerAreFollowedAndStayLinks) {
  test::TempDir otherDisk;
  otherDisk.Write("big/data.pak", "old copy on the other disk");
  otherDisk.Write("single.pak", "old single file");
  fs::create_directory_symlink(otherDisk / "big", game_ / "big");
  fs::create_symlink(otherDisk / "single.pak", game_ / "single.pak");
  ServeManifest(Publish("big\\data.pak", "new big") + Publish("single.pak", "new single"));
  UpdateRun(kNoManifestKey);
  EXPECT_EQ(otherDisk.Read("big/data.pak"), "new big");
  EXPECT_EQ(otherDisk.Read("single.pak"), "new single");
  EXPECT_TRUE(fs::is_symlink(game_ / "single.pak"));
  EXPECT_TRUE(fs::is_symlink(game_ / "big"));
}

TEST_F(UpdateIntegrity, ALinkOfAnotherUserIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link to another user needs root";
  test::TempDir elsewhere;
  elsewhere.Write("target.pak", "someone else's file");
  fs::create_symlink(elsewhere / "target.pak", game_ / "data.pak");
  ASSERT_EQ(lchown((game_ / "data.pak").c_str(), 4242, 4242), 0);
  ServeManifest(Publish("data.pak", "the server's bytes"));
  const std::string said = RunAndSay();
  EXPECT_EQ(elsewhere.Read("target.pak"), "someone else's file");
  EXPECT_NE(said.find("refused to write data.pak through the link"), std::string::npos) << said;
  EXPECT_TRUE(ClientStarted());
}

TEST_F(UpdateIntegrity, AnEmptyManifestListSaysWhyOnStandardError) {
  server_.Serve("/Updateini2.ini", "<html>maintenance</html>");
  const std::string said = RunAndSay();
  EXPECT_NE(said.find("lists no file: the body is not a manifest container"), std::string::npos) << said;
  EXPECT_TRUE(ClientStarted());
}

}  // namespace
}  // namespace vlmr::app
