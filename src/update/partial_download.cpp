#include "update/partial_download.h"

#include "platform/file_install.h"
#include "platform/md5.h"
#include "platform/profile.h"
#include "update/reserved_names.h"

namespace vlmr::update {
namespace {

constexpr const char* kRecordSection = "partials";

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace

PartialDownload::PartialDownload(std::string_view programDirectory, std::string gbkTarget,
                                 std::string_view digest, std::string_view url)
    : programDirectory_(programDirectory),
      recordFile_(LauncherFolderFile(programDirectory, "partials.ini")),
      owner_(UpperAscii(digest) + " " + std::string(url)),
      target_(std::move(gbkTarget)),
      path_(target_ + std::string(kPartialSuffix)) {
  // The file system reads names without regard to case: so does the key.
  recordKey_ = platform::Md5UpperHex(UpperAscii(path_));
}

int64_t PartialDownload::BytesToResume() const {
  std::optional<int64_t> size = platform::FileSize64(path_);
  if (!size) return 0;
  if (platform::ReadProfileString(recordFile_, kRecordSection, recordKey_, "") == owner_) return *size;
  Discard();
  return 0;
}

void PartialDownload::Claim() const {
  EnsureLauncherFolder(programDirectory_);
  platform::WriteProfileString(recordFile_, kRecordSection, recordKey_.c_str(), owner_.c_str());
}

bool PartialDownload::Install(std::string* why) const {
  if (!platform::ReplaceFile(path_, target_, why)) return false;
  platform::WriteProfileString(recordFile_, kRecordSection, recordKey_.c_str(), nullptr);
  return true;
}

void PartialDownload::Discard() const {
  platform::RemoveFile(path_);
  platform::WriteProfileString(recordFile_, kRecordSection, recordKey_.c_str(), nullptr);
}

}  // namespace vlmr::update
