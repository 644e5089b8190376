// A download in progress beside its target, "<target>.vlmr-part", and the
// record in the launcher's folder of the manifest digest and URL it belongs
// to. The target stays as it was until the partial file is complete and
// checked; then one rename puts it in place. A later start resumes a partial
// file only for the same digest and URL, and removes any other.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vlmr::update {

class PartialDownload {
 public:
  // `gbkTarget` is where the file is installed (a link already followed).
  PartialDownload(std::string_view programDirectory, std::string gbkTarget, std::string_view digest,
                  std::string_view url);

  const std::string& Path() const { return path_; }
  const std::string& Target() const { return target_; }

  // The bytes an earlier attempt left for this digest and URL; a leftover of
  // another digest or URL, or one without a record, is removed (0).
  int64_t BytesToResume() const;
  // Records whose partial file this is; done before its first byte is written,
  // so a partial file on disk always has its record.
  void Claim() const;
  // Renames the partial file over the target and drops the record; false with
  // the system's reason in *why when the rename fails.
  bool Install(std::string* why) const;
  // Removes the partial file and its record.
  void Discard() const;

 private:
  std::string programDirectory_;
  std::string recordFile_;
  std::string recordKey_;
  std::string owner_;  // "DIGEST URL" of the manifest entry
  std::string target_;
  std::string path_;
};

}  // namespace vlmr::update
