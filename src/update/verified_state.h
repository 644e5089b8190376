// The verified-state index: for each file the update found current or
// installed and checked, the stamp it had then (size, times, identity) and
// its MD5, kept in the launcher's folder. At the next start a file whose stamp
// is exactly the recorded one, and whose recorded MD5 is the manifest's, is
// current without being read. The index never vouches for more: a file
// changed within the timestamp granularity of its recording, an index of
// another folder or format, or a damaged one, vouches for nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/file_stamp.h"

namespace vlmr::update {

// Coarsest timestamp step of the file systems a game may lie on (FAT: 2 s):
// a file modified this close to its recording might change again unseen.
inline constexpr int64_t kTimestampGranularityNs = 2'000'000'000;

class VerifiedState {
 public:
  // An empty index for the folder: it vouches for nothing.
  explicit VerifiedState(std::string programDirectory);

  // The folder's index as the last run left it; empty when it is missing,
  // damaged, of another format version, or made for another folder.
  static VerifiedState Load(std::string programDirectory);

  // The recorded MD5 of `key` when the file's stamp `now` is exactly the one
  // recorded and the recording was not racy; nullopt otherwise.
  std::optional<std::string> RecordedDigest(const std::string& key, const platform::FileStamp& now) const;

  // Records the stamp and digest of a file just found current or installed,
  // for the index the next Save writes. Not thread-safe: one caller.
  void Record(const std::string& key, const platform::FileStamp& stamp, std::string_view digest);

  // Writes what was recorded in this run, replacing the index in one step.
  bool Save() const;

  size_t LoadedCount() const { return loaded_.size(); }

  struct Entry {
    platform::FileStamp stamp;
    int64_t recordedNs = 0;
    uint8_t digest[16] = {};
  };

 private:
  std::string programDirectory_;
  std::unordered_map<std::string, Entry> loaded_;    // read by every checker thread, never changed
  std::unordered_map<std::string, Entry> recorded_;  // this run's, written by the run alone
};

}  // namespace vlmr::update
