// The build's key text comes from a header CMake writes (manifest_key_text.h);
// only this file includes it, so only this file changes with the key.
#include "app/manifest_key.h"

#include <algorithm>
#include <string_view>

#include "manifest_key_text.h"

namespace vlmr::app {
namespace {

constexpr std::string_view kManifestKeyHex = VLMR_MANIFEST_KEY;

constexpr bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// CMake refuses any other key text too; this keeps a malformed key from ever
// turning into a build that checks nothing or checks with a made-up key.
static_assert(kManifestKeyHex.empty() ||
                  (kManifestKeyHex.size() == 64 && std::ranges::all_of(kManifestKeyHex, IsHexDigit)),
              "VLMR_MANIFEST_KEY must be empty or exactly 64 hex digits");

}  // namespace

std::optional<platform::Ed25519PublicKey> BuiltInManifestKey() {
  if (kManifestKeyHex.empty()) return std::nullopt;
  return platform::Ed25519PublicKey{*platform::KeyBytesFromHex(kManifestKeyHex)};
}

}  // namespace vlmr::app
