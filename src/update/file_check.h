// The file check of an update run, done ahead: checker threads (one per core)
// work through the entries in manifest order while the run deals with the
// earlier ones, at most a bounded number of files and bytes ahead of it, so
// the run never waits for a hash it could have had. A file the
// verified-state index vouches for is not read. The run takes the results in
// order; results it has not taken cost nothing once the check is stopped.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_stamp.h"
#include "update/verified_state.h"

namespace vlmr::update {

// One file to check: where it is, the digest the manifest names for it and
// the index's key for it.
struct CheckItem {
  std::string localPath;
  std::string digest;
  std::string key;
};

struct CheckResult {
  bool outOfDate = true;
  bool hashed = false;                       // read and hashed (not vouched for by the index)
  std::optional<platform::FileStamp> stamp;  // the file's stamp before it was checked
  std::chrono::milliseconds took{0};         // reading and hashing it
};

// Checks one item now, on the calling thread.
CheckResult CheckFile(const CheckItem& item, const VerifiedState& index);

class FileCheck {
 public:
  // Files and bytes the checkers may have done ahead of the run.
  static constexpr size_t kMostFilesAhead = 256;
  static constexpr int64_t kMostBytesAhead = int64_t{512} << 20;

  // Starts `threads` checkers (0: one per core). `index` must outlive the check.
  FileCheck(std::vector<CheckItem> items, const VerifiedState& index, unsigned threads = 0);
  ~FileCheck();  // stops and joins the checkers
  FileCheck(const FileCheck&) = delete;
  FileCheck& operator=(const FileCheck&) = delete;

  size_t size() const { return items_.size(); }
  const CheckItem& item(size_t i) const { return items_[i]; }

  // The result of item i, taken in order (i never goes back): checked on
  // this thread when no checker has started it, waited for when one has.
  CheckResult Take(size_t i);

  // Ends the checkers (after the files they are reading); nothing more is read.
  void Stop();

 private:
  enum class State : uint8_t { Waiting, Checking, Done };
  struct Slot {
    State state = State::Waiting;
    CheckResult result;
  };

  void CheckAhead();
  bool MayStartNext() const;  // under mutex_

  const std::vector<CheckItem> items_;
  const VerifiedState& index_;
  std::vector<Slot> slots_;
  std::mutex mutex_;
  std::condition_variable changed_;
  size_t next_ = 0;       // the first item nobody has started
  size_t taken_ = 0;      // items before this are the run's
  int64_t bytesAhead_ = 0;  // sizes of files done but not yet taken
  bool stopping_ = false;
  std::vector<std::thread> checkers_;
};

}  // namespace vlmr::update
