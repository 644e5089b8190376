// A file that is only ever appended to, by native path (UTF-8): every write
// lands at the end as the system sees it, so writers in two processes never
// overwrite each other; the game client does not inherit it. What the
// launcher's log needs of the system, with the local time it stamps lines with.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace vlmr::platform {

class AppendFile {
 public:
  AppendFile() = default;
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;
  AppendFile(AppendFile&& other) noexcept;
  AppendFile& operator=(AppendFile&& other) noexcept;
  ~AppendFile();

  // Opens the file, creating it when missing; a closed AppendFile with the
  // system's reason in *why when it cannot.
  static AppendFile Open(const std::string& nativePath, std::string* why);

  bool IsOpen() const { return handle_ != kNoHandle; }
  // The file's size as every writer has left it; -1 when it cannot be told.
  int64_t Size() const;
  // One write of all n bytes at the end; false when the system refused any.
  bool Append(const void* data, size_t n);

 private:
  static constexpr intptr_t kNoHandle = -1;
  void Close();
  intptr_t handle_ = kNoHandle;
};

// Renames `from` to `to`, replacing `to`, also while `from` is open for
// appending (rotation of a log another launcher may be writing).
bool MoveFileOver(const std::string& nativeFrom, const std::string& nativeTo);

// The local time of `seconds` and its offset from UTC in minutes.
struct LocalTime {
  std::tm fields{};
  int utcOffsetMinutes = 0;
};
LocalTime ToLocalTime(std::time_t seconds);

}  // namespace vlmr::platform
