// The operator tools as an operator uses them: manifest_builder turns a folder
// into the container and signs it, update_server serves it, and the
// launcher's own fetch, signature check, decoder and download bring a second
// folder up to date from it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "runtime/launcher_ids.h"
#include "runtime/recording_window_system.h"
#include "runtime/window_system.h"
#include "support/temp_dir.h"
#include "support/test_data.h"
#include "update/download.h"
#include "update/manifest.h"
#include "update/safe_relative_path.h"
#include "update/signed_manifest.h"
#include "update/whole_body_fetch.h"

namespace vlmr::update {
namespace {

const std::string kToolsDir = VLMR_TOOLS_DIR;

// Runs a tool to its end; returns its exit status and standard output.
int RunTool(const std::vector<std::string>& args, std::string* output) {
  std::string command;
  for (const std::string& a : args) command += "'" + a + "' ";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output->append(buffer, n);
  int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// update_server on a free port of 127.0.0.1, stopped with SIGTERM at the end.
class ServerProcess {
 public:
  explicit ServerProcess(const std::filesystem::path& folder) {
    int fds[2];
    if (pipe(fds) != 0) return;
    std::string program = kToolsDir + "/update_server/update_server";
    std::string dir = folder.string();
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlives the test, however it ends
      dup2(fds[1], STDOUT_FILENO);
      close(fds[0]);
      close(fds[1]);
      execl(program.c_str(), program.c_str(), "--port", "0", "--quiet", dir.c_str(), nullptr);
      _exit(127);
    }
    close(fds[1]);
    FILE* out = fdopen(fds[0], "r");
    char line[512] = {};
    if (out && fgets(line, sizeof line, out)) {  // "serving DIR on http://127.0.0.1:PORT/"
      std::string text = line;
      size_t at = text.find("http://");
      if (at != std::string::npos) base_ = text.substr(at, text.find('/', at + 7) - at);
    }
    if (out) fclose(out);
  }
  ~ServerProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
  }
  // "http://127.0.0.1:PORT", empty when the server did not start.
  const std::string& Base() const { return base_; }

 private:
  pid_t pid_ = -1;
  std::string base_;
};

class OperatorTools : public testing::Test {
 protected:
  void SetUp() override {
    windows.AddWindow(rt::ids::kLauncherWindow, {rt::ids::kStatusLabel});
    rt::InstallWindowSystem(&windows);
    served.Write("a.txt", "hello\n");
    served.Write("Lanternfall/DAC_VLMR/0009.new", "");
    served.Write("数据 文件/大.pak", test::TestBytes(300000));
    served.Write(".vlmr/update.lock", "");        // a launcher's own files: never listed
    served.Write("数据 文件/x.pak.vlmr-part", "");
  }
  void TearDown() override { rt::InstallWindowSystem(nullptr); }

  std::string Builder(const std::vector<std::string>& args, int* status) {
    std::vector<std::string> command = {kToolsDir + "/manifest_builder/manifest_builder"};
    command.insert(command.end(), args.begin(), args.end());
    std::string output;
    *status = RunTool(command, &output);
    return output;
  }

  rt::RecordingWindowSystem windows;
  test::TempDir served;
  test::TempDir client;
};

TEST_F(OperatorTools, AFolderBuiltAndServedIsDownloadedWhole) {
  ServerProcess server(served.path());
  ASSERT_FALSE(server.Base().empty());
  int status = -1;
  Builder({"build", served.path().string(), server.Base()}, &status);
  ASSERT_EQ(status, 0);

  rt::Bytes body = FetchWholeBody((server.Base() + "/Updateini2.ini").c_str());
  std::vector<ManifestEntry> entries = DecodeManifest(body.get());
  ASSERT_EQ(entries.size(), 3u);  // the manifest does not list itself, nor a launcher's files
  std::string programDirectory = client.LauncherPath();
  for (const ManifestEntry& e : entries) {
    ASSERT_TRUE(IsSafeRelativePath(e.RelativePath.view()));
    EXPECT_TRUE(IsOutOfDate(e, programDirectory.c_str()));
    std::string local = programDirectory + "\\" + std::string(e.RelativePath.view());
    std::string native = platform::GbkToUtf8(e.RelativePath.view());
    std::replace(native.begin(), native.end(), '\\', '/');
    std::filesystem::create_directories((client.path() / native).parent_path());
    ASSERT_EQ(DownloadFile(e.Url.get(), local.c_str(), &ShowUpdateProgress, 0, false), kDownloadDone)
        << e.Url.view();
    EXPECT_FALSE(IsOutOfDate(e, programDirectory.c_str())) << native;
    EXPECT_EQ(client.Read(native), served.Read(native)) << native;
  }
}

TEST_F(OperatorTools, TheServerAnswersTheLaunchersResumeRange) {
  ServerProcess server(served.path());
  ASSERT_FALSE(server.Base().empty());
  std::string whole = served.Read("数据 文件/大.pak");
  client.Write("big.pak", whole.substr(0, 123456));
  std::string local = client.LauncherPath() + "\\big.pak";
  std::string url = server.Base() + "/%E6%95%B0%E6%8D%AE%20%E6%96%87%E4%BB%B6/%E5%A4%A7.pak";
  ASSERT_EQ(DownloadFile(url.c_str(), local.c_str(), &ShowUpdateProgress, 123456, true), kDownloadDone);
  EXPECT_EQ(client.Read("big.pak"), whole);
  EXPECT_EQ(ResumeOffset, 300000);
}

TEST_F(OperatorTools, ListShowsTheEntriesAndVerifyFindsChangedFiles) {
  int status = -1;
  Builder({"build", served.path().string(), "http://updates.example"}, &status);
  ASSERT_EQ(status, 0);
  std::string container = (served.path() / "Updateini2.ini").string();

  std::string listing = Builder({"list", container}, &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(listing.find("数据 文件\\大.pak\t"), std::string::npos) << listing;
  EXPECT_NE(listing.find("Lanternfall\\DAC_VLMR\\0009.new\tD41D8CD98F00B204E9800998ECF8427E\t"
                         "http://updates.example/Lanternfall/DAC_VLMR/0009.new"),
            std::string::npos)
      << listing;

  Builder({"verify", container, served.path().string()}, &status);
  EXPECT_EQ(status, 0);
  served.Write("a.txt", "changed\n");
  std::string report = Builder({"verify", container, served.path().string()}, &status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(report.find("a.txt: the file differs from its digest"), std::string::npos) << report;

  Builder({"verify", (served.path() / "a.txt").string(), served.path().string()}, &status);
  EXPECT_EQ(status, 1);  // not a container at all
}

TEST_F(OperatorTools, PackTurnsAWrittenListIntoAContainerWithTheSizeWordAsked) {
  served.Write("list.txt", "a.txt\tMD5\thttp://h/a.txt\r\n");
  const std::string text = (served.path() / "list.txt").string();
  const std::string container = (served.path() / "list.ini").string();
  int status = -1;
  Builder({"pack", text, "-o", container}, &status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(Builder({"list", container}, &status), "a.txt\tMD5\thttp://h/a.txt\n");
  Builder({"pack", text, "-o", container, "--size-word", "4"}, &status);  // 2 x 4 bytes: too small
  ASSERT_EQ(status, 0);
  EXPECT_EQ(Builder({"list", container}, &status), "");
  Builder({"pack", text, "-o"}, &status);
  EXPECT_EQ(status, 2);
}

TEST_F(OperatorTools, ASignedManifestPassesTheLaunchersCheckAndVerifyNamesWhatBreaksIt) {
  int status = -1;
  const std::string secret = (client.path() / "manifest.key").string();
  const std::string key = Builder({"keygen", secret}, &status);
  ASSERT_EQ(status, 0);
  ASSERT_EQ(key.size(), 65u);  // 64 hex digits and a line break
  struct stat info {};
  ASSERT_EQ(stat(secret.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  const std::string secretText = client.Read("manifest.key");
  Builder({"keygen", secret}, &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(client.Read("manifest.key"), secretText);  // never overwritten

  ServerProcess server(served.path());
  ASSERT_FALSE(server.Base().empty());
  const std::string folder = served.path().string();
  const std::string container = (served.path() / "Updateini2.ini").string();
  Builder({"build", folder, server.Base()}, &status);
  EXPECT_NE(Builder({"sign", container, secret, "--version", "7", "--expires", "30"}, &status)
                .find("Updateini2.ini.sig: version 7, expires 20"),
            std::string::npos);
  ASSERT_EQ(status, 0);
  Builder({"sign", container, secret, "--version", "8", "--expires", "0"}, &status);
  EXPECT_EQ(status, 2);  // no expiry "0 days from now"

  rt::Bytes body = FetchWholeBody((server.Base() + "/Updateini2.ini").c_str());
  rt::Bytes signature = FetchWholeBody((server.Base() + "/Updateini2.ini.sig").c_str());
  std::string why;
  EXPECT_TRUE(AcceptSignedManifest(body.view(), signature.view(),
                                   platform::Ed25519PublicKey{*platform::KeyBytesFromHex(key.substr(0, 64))},
                                   client.LauncherPath() + "\\manifest.ini", 0, &why))
      << why;

  auto verifyWith = [&](const std::string& publicKey) {
    return Builder({"verify", container, folder, "--key", publicKey.substr(0, 64)}, &status);
  };
  EXPECT_NE(verifyWith(key).find("signature: version 7, expires 20"), std::string::npos);
  EXPECT_EQ(status, 0);
  const platform::Ed25519SecretKey another = platform::NewEd25519SecretKey();
  EXPECT_NE(verifyWith(platform::HexOf(platform::Ed25519PublicKeyOf(another)->point)).find("Updateini2.ini.sig: the signature does not verify with the key given"),
            std::string::npos);
  EXPECT_EQ(status, 1);
  Builder({"build", folder, "http://elsewhere.example"}, &status);  // the manifest changes after signing
  EXPECT_NE(verifyWith(key).find("does not verify with the key given"), std::string::npos);
  EXPECT_EQ(Builder({"list", container}, &status).find(".sig"), std::string::npos);  // never listed
  std::filesystem::remove(container + ".sig");
  EXPECT_NE(verifyWith(key).find("Updateini2.ini.sig: the signature file is missing or empty"), std::string::npos);
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace vlmr::update
