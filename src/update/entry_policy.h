// What the update does with a manifest entry before any byte of it is read
// or written: whether it is refused (it would leave the game folder, names
// one of the launcher's own files, or is longer than the system allows), and
// the key under which the verified-state index keeps its file.
#pragma once

#include <optional>
#include <string>

#include "update/manifest.h"

namespace vlmr::update {

// Why the entry is left alone whatever its digest, or nothing. `localPath`
// is LocalPathOf the entry.
std::optional<std::string> WhyRefused(const ManifestEntry& entry, const char* localPath);

// The entry's relative path with "/" read as "\": one key per file however
// the manifest spells its separators.
std::string IndexKeyOf(const ManifestEntry& entry);

}  // namespace vlmr::update
