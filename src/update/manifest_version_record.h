// The highest manifest version a game folder has accepted, kept in the
// launcher's folder ("manifest.ini": "[manifest]" and "version=N"), so that
// an older manifest, however validly signed, is refused afterwards: nobody on
// the path can roll a player back to files the operator has since replaced.
#pragma once

#include <cstdint>
#include <string_view>

namespace vlmr::update {

// The record's name inside the launcher's folder.
inline constexpr std::string_view kManifestVersionRecord = "manifest.ini";

// 0 (nothing accepted yet) when the record is missing or holds no decimal
// number.
uint64_t AcceptedManifestVersion(std::string_view gbkRecordFile);

// Replaces the record in one step (temporary file and rename); false when it
// cannot be written.
bool RecordAcceptedManifestVersion(std::string_view gbkRecordFile, uint64_t version);

}  // namespace vlmr::update
