#include "update/manifest_version_record.h"

#include <charconv>
#include <string>

#include "platform/profile.h"

namespace vlmr::update {
namespace {

constexpr const char* kSection = "manifest";
constexpr const char* kKey = "version";

}  // namespace

uint64_t AcceptedManifestVersion(std::string_view gbkRecordFile) {
  const std::string text = platform::ReadProfileString(gbkRecordFile, kSection, kKey, "");
  uint64_t version = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), version);
  return error == std::errc() && end == text.data() + text.size() ? version : 0;
}

bool RecordAcceptedManifestVersion(std::string_view gbkRecordFile, uint64_t version) {
  return platform::WriteProfileString(gbkRecordFile, kSection, kKey, std::to_string(version).c_str());
}

}  // namespace vlmr::update
