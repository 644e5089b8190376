// The manifest's signature file, served beside the manifest as
// "Updateini2.ini.sig": exactly 88 bytes, integers little-endian like the
// container's words.
//
//   offset  size  field
//        0     8  format tag "VLMRSIG1"
//        8     8  version, unsigned; a game folder never goes back to a lower one
//       16     8  expiry in Unix seconds, unsigned; 0 = never
//       24    64  Ed25519 signature of the signed message
//
// The signed message (96 bytes) binds the version and the expiry to the
// manifest's exact bytes: the domain tag "vlmr-manifest-v1", the version and
// the expiry (8 bytes each, little-endian), then the SHA-512 digest of the
// manifest container as served.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/signature.h"

namespace vlmr::update {

inline constexpr std::string_view kSignatureFileTag = "VLMRSIG1";
inline constexpr std::string_view kSignedMessageTag = "vlmr-manifest-v1";
inline constexpr size_t kSignatureFileSize = 88;
inline constexpr std::string_view kSignatureSuffix = ".sig";

struct ManifestSignature {
  uint64_t version = 0;
  uint64_t expiresAt = 0;  // Unix seconds; 0 = never
  platform::Ed25519Signature signature{};
};

// The message a manifest's signature is made over.
std::string SignedMessage(uint64_t version, uint64_t expiresAt, std::string_view manifest);

// nullopt when libgcrypt cannot be used.
std::optional<ManifestSignature> SignManifest(std::string_view manifest, uint64_t version, uint64_t expiresAt,
                                              const platform::Ed25519SecretKey& secret);
// True when the signature was made by the key's owner over exactly this
// manifest, version and expiry.
bool SignatureMatches(const ManifestSignature& signature, std::string_view manifest,
                      const platform::Ed25519PublicKey& key);

// Whether the signature has expired at `now` (Unix seconds): from the expiry
// second on.
bool HasExpired(const ManifestSignature& signature, uint64_t now);
// "never", or the expiry as "YYYY-MM-DD hh:mm:ss UTC".
std::string ExpiryText(uint64_t expiresAt);

std::string EncodeManifestSignature(const ManifestSignature& signature);
// The fields of a signature file; nullopt for anything but exactly
// kSignatureFileSize bytes starting with kSignatureFileTag, *problem then
// saying which.
std::optional<ManifestSignature> ParseManifestSignature(std::string_view file, std::string* problem = nullptr);

}  // namespace vlmr::update
