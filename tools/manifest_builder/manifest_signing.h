// The operator's side of the manifest signature: the key pair, the signature
// file written beside the manifest, and checking one against a public key.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/signature.h"

namespace vlmr::tools {

// Makes a key pair, writes the secret key to `secretFile` as 64 hex digits
// and a line break (mode 0600, never over an existing file) and returns the
// public key's 64 hex digits. Throws std::runtime_error.
std::string GenerateKeyPair(const std::filesystem::path& secretFile);

// Signs the manifest container's exact bytes with the secret key in
// `secretFile` and writes "<manifest>.sig" beside it (temporary file, then
// rename); `expiresAt` in Unix seconds, 0 = never. Returns the signature
// file's path. Throws std::runtime_error, also for a file that is no manifest
// container.
std::filesystem::path SignManifestFile(const std::filesystem::path& manifest,
                                       const std::filesystem::path& secretFile, uint64_t version,
                                       uint64_t expiresAt);

// What is wrong with the signature file of `manifestBytes` for `key` at
// `now`, one sentence each (missing or malformed, made with another key or
// over other bytes, expired); empty when it holds. *summary names its version
// and expiry when the file could be read.
std::vector<std::string> CheckSignatureFile(const std::string& manifestBytes,
                                            const std::filesystem::path& signatureFile,
                                            const platform::Ed25519PublicKey& key, uint64_t now,
                                            std::string* summary);

}  // namespace vlmr::tools
