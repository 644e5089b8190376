// The update run behind the start button, on the update worker thread: fetch
// the manifest, bring every listed file up to date, then launch the client.
#pragma once

#include <atomic>
#include <string>

namespace vlmr::app {

// Consecutive download attempts that add no byte before the file is given up.
inline constexpr int kMaxAttemptsWithoutProgress = 5;

// "http://" + the update host + "/Updateini2.ini"; the environment variable
// VLMR_MANIFEST_URL, when set, names another manifest (a staging server).
std::string ManifestUrl();

// Set by --verify-all: the run reads every listed file instead of trusting
// the verified-state index (and then writes a fresh one).
extern std::atomic<bool> ForceFullCheck;

void UpdateRun();

}  // namespace vlmr::app
