// The update run behind the start button, on the update worker thread: fetch
// the manifest, bring every listed file up to date, then launch the client.
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "platform/signature.h"

namespace vlmr::app {

// Consecutive download attempts that add no byte before the file is given up.
inline constexpr int kMaxAttemptsWithoutProgress = 5;

// "http://" + the update host + "/Updateini2.ini"; the environment variable
// VLMR_MANIFEST_URL, when set, names another manifest (a staging server).
std::string ManifestUrl();

// Set by --verify-all: the run reads every listed file instead of trusting
// the verified-state index (and then writes a fresh one).
extern std::atomic<bool> ForceFullCheck;

// The key the manifest's signature must verify with; nullopt: the manifest is
// taken unsigned and no signature file is fetched.
using ManifestKey = std::optional<platform::Ed25519PublicKey>;

// The start button's run passes BuiltInManifestKey() (app/manifest_key.h).
// With a key, "<manifest URL>.sig" is fetched once before the manifest body
// it is checked against (update/signed_manifest.h); a manifest refused there
// ends the run as a failed fetch does.
void UpdateRun(const ManifestKey& manifestKey);

}  // namespace vlmr::app
