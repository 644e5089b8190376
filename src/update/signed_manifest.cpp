#include "update/signed_manifest.h"

#include <cstdio>
#include <optional>

#include "platform/codepage.h"
#include "update/manifest_signature.h"
#include "update/manifest_version_record.h"

namespace vlmr::update {
namespace {

// The first check the signature fails, or nothing. The signature comes
// first: until it holds, the version and expiry are anybody's words.
std::optional<std::string> FailedCheck(const ManifestSignature& signature, std::string_view manifest,
                                       const platform::Ed25519PublicKey& key, uint64_t accepted, uint64_t now) {
  if (!SignatureMatches(signature, manifest, key)) {
    return "the signature does not verify with this launcher's key (signed with another key, or the manifest "
           "changed after signing)";
  }
  if (HasExpired(signature, now)) return "the signature expired at " + ExpiryText(signature.expiresAt);
  if (signature.version < accepted) {
    return "its version " + std::to_string(signature.version) + " is older than version " + std::to_string(accepted) +
           ", which this game folder accepted before";
  }
  return std::nullopt;
}

}  // namespace

bool AcceptSignedManifest(std::string_view manifest, std::string_view signatureFile,
                          const platform::Ed25519PublicKey& key, std::string_view gbkVersionRecord, uint64_t now,
                          std::string* why) {
  std::optional<ManifestSignature> signature = ParseManifestSignature(signatureFile, why);
  if (!signature) return false;
  const uint64_t accepted = AcceptedManifestVersion(gbkVersionRecord);
  if (std::optional<std::string> failed = FailedCheck(*signature, manifest, key, accepted, now)) {
    *why = std::move(*failed);
    return false;
  }
  if (signature->version > accepted && !RecordAcceptedManifestVersion(gbkVersionRecord, signature->version)) {
    std::fprintf(stderr, "update: the accepted manifest version cannot be recorded in %s\n",
                 platform::GbkToUtf8(gbkVersionRecord).c_str());
  }
  return true;
}

}  // namespace vlmr::update
