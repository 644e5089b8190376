#include "update/manifest_signature.h"

#include <chrono>
#include <cstdio>

namespace vlmr::update {
namespace {

constexpr size_t kVersionOffset = 8;
constexpr size_t kExpiryOffset = 16;
constexpr size_t kSignatureOffset = 24;
// 9999-12-31 23:59:59 UTC: beyond it the expiry is shown as a number.
constexpr uint64_t kLatestDateShown = 253402300799;

void AppendLittleEndian(std::string& out, uint64_t value) {
  for (int i = 0; i < 8; ++i) out += static_cast<char>(value >> (8 * i));
}

uint64_t ReadLittleEndian(std::string_view bytes) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[i]);
  return value;
}

}  // namespace

std::string SignedMessage(uint64_t version, uint64_t expiresAt, std::string_view manifest) {
  std::string message(kSignedMessageTag);
  AppendLittleEndian(message, version);
  AppendLittleEndian(message, expiresAt);
  const platform::Sha512Digest digest = platform::Sha512(manifest);
  message.append(reinterpret_cast<const char*>(digest.data()), digest.size());
  return message;
}

std::optional<ManifestSignature> SignManifest(std::string_view manifest, uint64_t version, uint64_t expiresAt,
                                              const platform::Ed25519SecretKey& secret) {
  std::optional<platform::Ed25519Signature> signature =
      platform::SignEd25519(secret, SignedMessage(version, expiresAt, manifest));
  if (!signature) return std::nullopt;
  return ManifestSignature{version, expiresAt, *signature};
}

bool SignatureMatches(const ManifestSignature& signature, std::string_view manifest,
                      const platform::Ed25519PublicKey& key) {
  return platform::VerifyEd25519(key, SignedMessage(signature.version, signature.expiresAt, manifest),
                                 signature.signature);
}

bool HasExpired(const ManifestSignature& signature, uint64_t now) {
  return signature.expiresAt != 0 && now >= signature.expiresAt;
}

std::string ExpiryText(uint64_t expiresAt) {
  if (expiresAt == 0) return "never";
  if (expiresAt > kLatestDateShown) return "Unix time " + std::to_string(expiresAt);
  using namespace std::chrono;
  const sys_seconds time{seconds{static_cast<int64_t>(expiresAt)}};
  const sys_days day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{time - day};
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d UTC", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

std::string EncodeManifestSignature(const ManifestSignature& signature) {
  std::string file(kSignatureFileTag);
  AppendLittleEndian(file, signature.version);
  AppendLittleEndian(file, signature.expiresAt);
  file.append(reinterpret_cast<const char*>(signature.signature.data()), signature.signature.size());
  return file;
}

std::optional<ManifestSignature> ParseManifestSignature(std::string_view file, std::string* problem) {
  auto refuse = [&](std::string why) -> std::optional<ManifestSignature> {
    if (problem) *problem = std::move(why);
    return std::nullopt;
  };
  if (file.empty()) return refuse("the signature file is missing or empty");
  if (file.size() != kSignatureFileSize) {
    // A server without the file answers with an error page: name that case.
    return refuse("the signature file is " + std::to_string(file.size()) + " bytes, not " +
                  std::to_string(kSignatureFileSize) + " (missing on the server, or not a signature file)");
  }
  if (!file.starts_with(kSignatureFileTag)) {
    return refuse("the signature file does not start with " + std::string(kSignatureFileTag));
  }
  ManifestSignature signature;
  signature.version = ReadLittleEndian(file.substr(kVersionOffset));
  signature.expiresAt = ReadLittleEndian(file.substr(kExpiryOffset));
  file.substr(kSignatureOffset).copy(reinterpret_cast<char*>(signature.signature.data()), signature.signature.size());
  return signature;
}

}  // namespace vlmr::update
