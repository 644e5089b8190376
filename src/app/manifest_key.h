// The public key this build checks the manifest's signature with, set at
// build time (-DVLMR_MANIFEST_KEY=<64 hex digits>).
#pragma once

#include <optional>

#include "platform/signature.h"

namespace vlmr::app {

// nullopt for a build without a key: it takes manifests unsigned and fetches
// no signature file.
std::optional<platform::Ed25519PublicKey> BuiltInManifestKey();

}  // namespace vlmr::app
