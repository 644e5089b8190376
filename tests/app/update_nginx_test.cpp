// The update run against nginx serving the files with the configuration in
// docs/nginx-vlmr-updates.conf, as operators are told to: files installed,
// a partial download from an earlier start resumed with a Range request that
// nginx answers with 206, the manifest sent uncompressed and not to be
// cached, and a publication in progress never served.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/native_path.h"
#include "support/nginx_server.h"
#include "update/partial_download.h"
#include "update/reserved_names.h"
#include "update/whole_body_fetch.h"
#include "update_run_fixture.h"

namespace vlmr::app {
namespace {

class UpdateFromNginx : public UpdateRunTest {
 protected:
  // Puts `content` into the served folder at files/<path> and returns its manifest line.
  std::string PublishFile(const std::string& launcherPath, const std::string& urlPath, const std::string& content) {
    served_.Write("files/" + urlPath, content);
    return launcherPath + "\t" + platform::Md5UpperHex(content) + "\t" + nginx_.Url("/files/" + urlPath) + "\r\n";
  }
  // Whether nginx's access log has the line, with the log in the failure message.
  // nginx writes a request's line after the answer has gone out, so the
  // line may come a moment after the client has its answer.
  testing::AssertionResult Logged(const std::string& line) {
    std::vector<std::string> log;
    for (int i = 0; i < 200; ++i) {
      log = nginx_.AccessLog();
      if (std::find(log.begin(), log.end(), line) != log.end()) return testing::AssertionSuccess();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    testing::AssertionResult failure = testing::AssertionFailure() << "nginx's access log:";
    for (const std::string& l : log) failure << "\n  " << l;
    return failure;
  }

  test::TempDir served_;
  test::NginxServer nginx_{served_.path(), fs::path(VLMR_SOURCE_DIR) / "docs/nginx-vlmr-updates.conf"};
};

TEST_F(UpdateFromNginx, FilesAreInstalledAndAnEarlierPartialDownloadResumesWithA206) {
  ASSERT_FALSE(nginx_.Url("/").empty()) << nginx_.Problem();
  const std::string world = test::TestBytes(300000, 'w');
  const std::string map = test::TestBytes(5000, 'm');
  const std::string manifest = PublishFile("data.pak", "data.pak", world) +
                               PublishFile("maps\\one.map", "maps/one.map", map);
  served_.Write("Updateini2.ini", update::EncodeManifestContainer(manifest));
  test::SetEnvironment("VLMR_MANIFEST_URL", nginx_.Url("/Updateini2.ini").c_str());
  // An earlier start got the first 100000 bytes of data.pak before it ended.
  const update::PartialDownload earlier(game_.LauncherPath(), game_.LauncherPath() + "\\data.pak",
                                        platform::Md5UpperHex(world), nginx_.Url("/files/data.pak"));
  ASSERT_TRUE(update::EnsureLauncherFolder(game_.LauncherPath()));
  earlier.Claim();
  game_.Write("data.pak.vlmr-part", world.substr(0, 100000));

  UpdateRun(kNoManifestKey);

  EXPECT_EQ(game_.Read("data.pak"), world);
  EXPECT_EQ(game_.Read("maps/one.map"), map);
  EXPECT_FALSE(fs::exists(game_ / "data.pak.vlmr-part"));
  EXPECT_TRUE(Logged(R"(GET /files/data.pak 206 "bytes=100000-" "-" "-")"));
  EXPECT_TRUE(Logged(R"(GET /files/maps/one.map 200 "-" "-" "-")"));
  EXPECT_TRUE(Logged(R"(GET /Updateini2.ini 200 "-" "no-cache" "-")"));
  EXPECT_EQ(LogLinesFrom("GET " + nginx_.Url("/files/data.pak") + " from byte 100000: HTTP 206").size(), 1u);
  EXPECT_TRUE(ClientStarted());
}

TEST_F(UpdateFromNginx, AManifestUnderItsTemporaryNameIsNotServed) {
  ASSERT_FALSE(nginx_.Url("/").empty()) << nginx_.Problem();
  served_.Write(".Updateini2.ini.new", update::EncodeManifestContainer(""));
  served_.Write(".release-2.new/data.pak", "not yet");
  update::FetchWholeBody(nginx_.Url("/.Updateini2.ini.new").c_str());
  update::FetchWholeBody(nginx_.Url("/.release-2.new/data.pak").c_str());
  EXPECT_TRUE(Logged(R"(GET /.Updateini2.ini.new 404 "-" "-" "-")"));
  EXPECT_TRUE(Logged(R"(GET /.release-2.new/data.pak 404 "-" "-" "-")"));
}

}  // namespace
}  // namespace vlmr::app
