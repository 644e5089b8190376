#include "manifest_signing.h"

#include "tool_files.h"
#include "update/manifest.h"
#include "update/manifest_signature.h"

namespace vlmr::tools {
namespace {

platform::Ed25519SecretKey ReadSecretKey(const std::filesystem::path& secretFile) {
  std::string text = ReadWholeFile(secretFile);
  if (text.ends_with('\n')) text.pop_back();
  std::optional<platform::KeyBytes> seed = platform::KeyBytesFromHex(text);
  if (!seed) throw std::runtime_error(secretFile.string() + ": not a secret key (64 hex digits)");
  return {*seed};
}

}  // namespace

std::string GenerateKeyPair(const std::filesystem::path& secretFile) {
  const platform::Ed25519SecretKey secret = platform::NewEd25519SecretKey();
  const std::optional<platform::Ed25519PublicKey> publicKey = platform::Ed25519PublicKeyOf(secret);
  if (!publicKey) throw std::runtime_error("libgcrypt cannot make Ed25519 keys");
  WriteNewPrivateFile(secretFile, platform::HexOf(secret.seed) + "\n");
  return platform::HexOf(publicKey->point);
}

std::filesystem::path SignManifestFile(const std::filesystem::path& manifest,
                                       const std::filesystem::path& secretFile, uint64_t version,
                                       uint64_t expiresAt) {
  const std::string container = ReadWholeFile(manifest);
  std::string problem;
  if (!update::DecodeManifestText(container, &problem)) {
    throw std::runtime_error(manifest.string() + ": not a manifest container (" + problem + ")");
  }
  std::optional<update::ManifestSignature> signature =
      update::SignManifest(container, version, expiresAt, ReadSecretKey(secretFile));
  if (!signature) throw std::runtime_error("libgcrypt cannot sign");
  const std::filesystem::path output = manifest.string() + std::string(update::kSignatureSuffix);
  WriteFileAtomically(output, update::EncodeManifestSignature(*signature));
  return output;
}

std::vector<std::string> CheckSignatureFile(const std::string& manifestBytes,
                                            const std::filesystem::path& signatureFile,
                                            const platform::Ed25519PublicKey& key, uint64_t now,
                                            std::string* summary) {
  std::error_code error;
  const std::string file = std::filesystem::exists(signatureFile, error) ? ReadWholeFile(signatureFile) : "";
  const std::string name = signatureFile.string() + ": ";
  std::string problem;
  std::optional<update::ManifestSignature> signature = update::ParseManifestSignature(file, &problem);
  if (!signature) return {name + problem};
  *summary = "version " + std::to_string(signature->version) + ", expires " + update::ExpiryText(signature->expiresAt);
  std::vector<std::string> problems;
  if (!update::SignatureMatches(*signature, manifestBytes, key)) {
    problems.push_back(name + "the signature does not verify with the key given (signed with another key, or the "
                              "manifest changed after signing)");
  }
  if (update::HasExpired(*signature, now)) {
    problems.push_back(name + "the signature expired at " + update::ExpiryText(signature->expiresAt));
  }
  return problems;
}

}  // namespace vlmr::tools
