// The update run of a build with a manifest key, against a real server: a
// manifest is used only with a valid, current and not older signature; any
// other is a failed fetch that installs nothing and starts nothing.
#include <gtest/gtest.h>

#include <chrono>

#include "update/manifest_signature.h"
#include "update_run_fixture.h"

namespace vlmr::app {
namespace {

using test::HttpFault;

uint64_t SecondsFromNow(int64_t seconds) {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::seconds>(now).count() + seconds);
}

class SignedManifest : public UpdateRunTest {
 protected:
  // The container of `text` and its signature file, both served.
  std::string ServeSigned(const std::string& text, uint64_t version, uint64_t expiresAt = 0) {
    return ServeSignedBy(secret_, text, version, expiresAt);
  }
  std::string ServeSignedBy(const platform::Ed25519SecretKey& secret, const std::string& text, uint64_t version,
                            uint64_t expiresAt = 0) {
    const std::string container = update::EncodeManifestContainer(text);
    server_.Serve("/Updateini2.ini", container);
    server_.Serve("/Updateini2.ini.sig",
                  update::EncodeManifestSignature(*update::SignManifest(container, version, expiresAt, secret)));
    return container;
  }
  std::string PublishData() { return Publish("data.pak", "the server's data"); }

  const platform::Ed25519SecretKey secret_ = platform::NewEd25519SecretKey();
  const ManifestKey key_ = platform::Ed25519PublicKeyOf(secret_);
};

TEST_F(SignedManifest, AValidSignatureIsFetchedOnceBeforeTheBodyItChecksAndTheFilesInstall) {
  ServeSigned(PublishData(), 5);
  const std::string said = RunAndSay(key_);
  EXPECT_EQ(game_.Read("data.pak"), "the server's data");
  EXPECT_EQ(game_.Read(".vlmr/manifest.ini"), "[manifest]\r\nversion=5\r\n");
  std::vector<std::string> targets;
  for (const auto& request : server_.Requests()) targets.push_back(request.target);
  EXPECT_EQ(targets, (std::vector<std::string>{"/Updateini2.ini", "/Updateini2.ini.sig", "/Updateini2.ini",
                                               "/files/0"}));
  EXPECT_EQ(said.find("refused"), std::string::npos) << said;
  EXPECT_TRUE(ClientStarted());
}

TEST_F(SignedManifest, ARunWithoutAKeyFetchesNoSignatureAndIgnoresABrokenOne) {
  ServeManifest(PublishData());
  server_.Serve("/Updateini2.ini.sig", "not a signature");
  UpdateRun(kNoManifestKey);
  EXPECT_EQ(game_.Read("data.pak"), "the server's data");
  EXPECT_TRUE(server_.RequestsFor("/Updateini2.ini.sig").empty());
  EXPECT_FALSE(fs::exists(game_ / ".vlmr/manifest.ini"));
}

// What the server, or someone on the path, does to the signed manifest.
enum class Tampering { FlippedByte, ChangedAfterFirstFetch, AnotherKey, NoSignature, Expired, OlderVersion };

struct Refusal {
  const char* name;
  Tampering tampering;
  const char* reason;  // what standard error says after "refused the manifest from URL: "
};

void PrintTo(const Refusal& refusal, std::ostream* out) { *out << refusal.name; }

const Refusal kRefusals[] = {
    {"OneFlippedByte", Tampering::FlippedByte, "the signature does not verify with this launcher's key"},
    {"BodyChangedAfterTheFirstFetch", Tampering::ChangedAfterFirstFetch,
     "the signature does not verify with this launcher's key"},
    {"AnotherKey", Tampering::AnotherKey, "the signature does not verify with this launcher's key"},
    {"MissingSignature", Tampering::NoSignature, "the signature file is "},
    {"Expired", Tampering::Expired, "the signature expired at "},
    {"OlderVersionAfterANewerOne", Tampering::OlderVersion,
     "its version 5 is older than version 6, which this game folder accepted before"},
};

class RefusedManifest : public SignedManifest, public testing::WithParamInterface<Refusal> {
 protected:
  void ServeTampered(Tampering tampering, const std::string& text) {
    switch (tampering) {
      case Tampering::FlippedByte: {
        std::string container = ServeSigned(text, 1);
        container[5] ^= 1;  // the size word grows by 256: still a container that decodes
        server_.Serve("/Updateini2.ini", container);
        break;
      }
      case Tampering::ChangedAfterFirstFetch: {
        const std::string genuine = ServeSigned(text, 1);
        server_.Serve("/Updateini2.ini", update::EncodeManifestContainer(text + text));
        server_.QueueFault("/Updateini2.ini", HttpFault::Status(200, genuine));  // the first fetch only
        break;
      }
      case Tampering::AnotherKey: ServeSignedBy(platform::NewEd25519SecretKey(), text, 1); break;
      case Tampering::NoSignature: ServeManifest(text); break;
      case Tampering::Expired: ServeSigned(text, 1, SecondsFromNow(-60)); break;
      case Tampering::OlderVersion:
        ServeSigned("", 6);
        ASSERT_EQ(RunAndSay(key_).find("refused"), std::string::npos);
        ASSERT_TRUE(ClientStarted());  // that run's client, which must not count for the refused one
        fs::remove(game_ / "client-run.txt");
        ServeSigned(text, 5, SecondsFromNow(3600));
        break;
    }
  }
};

TEST_P(RefusedManifest, IsAFailedFetchThatInstallsAndStartsNothing) {
  ServeTampered(GetParam().tampering, PublishData());
  const size_t boxesBefore = window_.Boxes().size();
  const size_t statusBefore = Texts(ids::kStatusLabel).size();
  const std::string said = RunAndSay(key_);

  EXPECT_NE(said.find("update: refused the manifest from " + server_.Url("/Updateini2.ini") + ": " +
                      GetParam().reason),
            std::string::npos)
      << said;
  EXPECT_FALSE(fs::exists(game_ / "data.pak"));
  EXPECT_EQ(FileRequests(), 0u);
  const std::vector<std::string> status = Texts(ids::kStatusLabel);
  EXPECT_EQ(std::vector<std::string>(status.begin() + statusBefore, status.end()),
            (std::vector<std::string>{"正在获取更新文件...", "获取更新文件失败..."}));  // no "游戏已启动..."
  const auto boxes = window_.Boxes();
  ASSERT_EQ(boxes.size(), boxesBefore + 1);
  EXPECT_EQ(platform::GbkToUtf8(boxes.back().text), "网络连接失败,请重试");
  EXPECT_EQ(platform::GbkToUtf8(boxes.back().caption), "提示");
  EXPECT_EQ(Values(ids::kStartButton, ids::kSlotDisabled).back(), 0u);
  EXPECT_FALSE(fs::exists(game_ / "client-run.txt"));
}

INSTANTIATE_TEST_SUITE_P(Signatures, RefusedManifest, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vlmr::app
