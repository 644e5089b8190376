// The signature file's strict format, and the acceptance rules at their edges
// (expiry second, equal versions, the version record) on a real folder.
#include "update/manifest_signature.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "update/manifest_version_record.h"
#include "update/signed_manifest.h"

namespace vlmr::update {
namespace {

const platform::Ed25519SecretKey kSecret = platform::NewEd25519SecretKey();
const platform::Ed25519PublicKey kKey = *platform::Ed25519PublicKeyOf(kSecret);
constexpr std::string_view kManifest = "a manifest container's bytes";

std::string SignatureFile(uint64_t version, uint64_t expiresAt = 0) {
  return EncodeManifestSignature(*SignManifest(kManifest, version, expiresAt, kSecret));
}

TEST(ManifestSignatureFile, HoldsTagVersionExpiryAndSignatureInEightyEightBytes) {
  const ManifestSignature made = *SignManifest(kManifest, 0x0102030405060708, 1700000000, kSecret);
  const std::string file = EncodeManifestSignature(made);
  ASSERT_EQ(file.size(), kSignatureFileSize);
  EXPECT_EQ(file.substr(0, 16), std::string("VLMRSIG1\x08\x07\x06\x05\x04\x03\x02\x01", 16));
  const std::optional<ManifestSignature> parsed = ParseManifestSignature(file);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->version, made.version);
  EXPECT_EQ(parsed->expiresAt, 1700000000u);
  EXPECT_EQ(parsed->signature, made.signature);
  EXPECT_TRUE(SignatureMatches(*parsed, kManifest, kKey));
  EXPECT_EQ(ExpiryText(parsed->expiresAt), "2023-11-14 22:13:20 UTC");
  EXPECT_EQ(ExpiryText(0), "never");
}

TEST(ManifestSignatureFile, AnythingButExactlyTheFormatIsRefusedWithItsReason) {
  const std::string good = SignatureFile(1);
  std::string wrongTag = good;
  wrongTag[7] = '2';
  const std::string notASignature = " (missing on the server, or not a signature file)";
  const struct {
    std::string file;
    std::string problem;
  } kCases[] = {
      {"", "the signature file is missing or empty"},
      {good.substr(0, 87), "the signature file is 87 bytes, not 88" + notASignature},
      {good + "\n", "the signature file is 89 bytes, not 88" + notASignature},
      {"<html>404 Not Found</html>", "the signature file is 26 bytes, not 88" + notASignature},
      {wrongTag, "the signature file does not start with VLMRSIG1"},
  };
  for (const auto& c : kCases) {
    std::string problem;
    EXPECT_FALSE(ParseManifestSignature(c.file, &problem));
    EXPECT_EQ(problem, c.problem);
  }
}

class SignedManifestAcceptance : public testing::Test {
 protected:
  bool Accept(const std::string& signatureFile, uint64_t now = 1000) {
    why_.clear();
    return AcceptSignedManifest(kManifest, signatureFile, kKey, record_, now, &why_);
  }

  test::TempDir folder_;
  const std::string record_ = folder_.LauncherPath() + "\\manifest.ini";
  std::string why_;
};

TEST_F(SignedManifestAcceptance, ExpiresAtItsSecondAndTakesEqualVersionsAgain) {
  EXPECT_TRUE(Accept(SignatureFile(7, 1000), 999)) << why_;
  EXPECT_FALSE(Accept(SignatureFile(7, 1000), 1000));
  EXPECT_EQ(why_, "the signature expired at 1970-01-01 00:16:40 UTC");
  EXPECT_TRUE(Accept(SignatureFile(7))) << why_;  // the same version again, never expiring
  EXPECT_EQ(AcceptedManifestVersion(record_), 7u);
}

TEST_F(SignedManifestAcceptance, KeepsTheHighestVersionAndRefusesLowerOnes) {
  folder_.Write("manifest.ini", "[manifest]\r\nversion=not a number\r\n");
  EXPECT_TRUE(Accept(SignatureFile(3))) << why_;  // an unreadable record counts as nothing accepted
  EXPECT_EQ(AcceptedManifestVersion(record_), 3u);
  EXPECT_FALSE(Accept(SignatureFile(2)));
  EXPECT_EQ(why_, "its version 2 is older than version 3, which this game folder accepted before");
  EXPECT_EQ(AcceptedManifestVersion(record_), 3u);
  EXPECT_TRUE(Accept(SignatureFile(UINT64_MAX))) << why_;
  EXPECT_EQ(folder_.Read("manifest.ini"), "[manifest]\r\nversion=18446744073709551615\r\n");

  // A record that cannot be written is said, and the manifest is still taken.
  const std::string unwritable = folder_.LauncherPath() + "\\missing\\manifest.ini";
  testing::internal::CaptureStderr();
  EXPECT_TRUE(AcceptSignedManifest(kManifest, SignatureFile(4), kKey, unwritable, 1000, &why_)) << why_;
  EXPECT_NE(testing::internal::GetCapturedStderr().find("update: the accepted manifest version cannot be recorded"),
            std::string::npos);
}

}  // namespace
}  // namespace vlmr::update
