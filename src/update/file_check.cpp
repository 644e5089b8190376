#include "update/file_check.h"

#include "update/file_md5.h"
#include "update/manifest.h"

namespace vlmr::update {
namespace {

int64_t SizeOf(const CheckResult& result) { return result.stamp ? result.stamp->size : 0; }

}  // namespace

CheckResult CheckFile(const CheckItem& item, const VerifiedState& index) {
  CheckResult result;
  if (!IsWellFormedDigest(item.digest)) return result;  // nothing to compare with
  result.stamp = platform::StampOf(item.localPath);
  if (!result.stamp) return result;  // missing
  if (std::optional<std::string> recorded = index.RecordedDigest(item.key, *result.stamp)) {
    if (SameDigest(*recorded, item.digest)) {
      result.outOfDate = false;
      return result;
    }
  }
  result.hashed = true;
  const auto start = std::chrono::steady_clock::now();
  result.outOfDate = !SameDigest(FileMd5(item.localPath.c_str()).view(), item.digest);
  result.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  return result;
}

FileCheck::FileCheck(std::vector<CheckItem> items, const VerifiedState& index, unsigned threads)
    : items_(std::move(items)), index_(index), slots_(items_.size()) {
  if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned t = 0; t < threads && t < items_.size(); ++t) checkers_.emplace_back([this] { CheckAhead(); });
}

FileCheck::~FileCheck() { Stop(); }

void FileCheck::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& checker : checkers_) {
    if (checker.joinable()) checker.join();
  }
}

bool FileCheck::MayStartNext() const {
  return next_ < items_.size() && next_ < taken_ + kMostFilesAhead &&
         (bytesAhead_ < kMostBytesAhead || next_ == taken_);
}

void FileCheck::CheckAhead() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || next_ >= items_.size() || MayStartNext(); });
    if (stopping_ || next_ >= items_.size()) return;
    const size_t i = next_++;
    slots_[i].state = State::Checking;
    lock.unlock();
    CheckResult result = CheckFile(items_[i], index_);
    lock.lock();
    bytesAhead_ += SizeOf(result);
    slots_[i] = {State::Done, std::move(result)};
    changed_.notify_all();
  }
}

CheckResult FileCheck::Take(size_t i) {
  std::unique_lock lock(mutex_);
  taken_ = i;
  if (slots_[i].state == State::Waiting) {
    // Nobody got here yet: check it now rather than wait.
    if (next_ == i) ++next_;
    slots_[i].state = State::Checking;
    lock.unlock();
    CheckResult result = CheckFile(items_[i], index_);
    lock.lock();
    taken_ = i + 1;
    changed_.notify_all();
    return result;
  }
  changed_.wait(lock, [&] { return slots_[i].state == State::Done; });
  bytesAhead_ -= SizeOf(slots_[i].result);
  taken_ = i + 1;
  changed_.notify_all();
  return std::move(slots_[i].result);
}

}  // namespace vlmr::update
