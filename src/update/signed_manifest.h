// The check a build with a manifest key makes before it trusts a manifest:
// the signature file verifies with that key over the manifest's exact bytes,
// it has not expired, and its version is not lower than the highest version
// this game folder accepted before. The accepted version is then recorded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/signature.h"

namespace vlmr::update {

// True when the manifest may be used; a version higher than the one accepted
// before is then recorded in `gbkVersionRecord` (a record that cannot be
// written is said on standard error and does not stop the update). False with
// the check that failed in *why, one line. `now` is the Unix time in seconds.
bool AcceptSignedManifest(std::string_view manifest, std::string_view signatureFile,
                          const platform::Ed25519PublicKey& key, std::string_view gbkVersionRecord, uint64_t now,
                          std::string* why);

}  // namespace vlmr::update
