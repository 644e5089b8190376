// Open files as the open-file command hands them out: six modes, four sharing
// values, bytes read and written unchanged.
#pragma once

#include <cstdint>
#include <string_view>

namespace vlmr::platform {

enum class OpenMode : int32_t {
  ReadExisting = 1,        // read an existing file
  WriteExisting = 2,       // write an existing file
  ReadWriteExisting = 3,   // read and write an existing file
  CreateTruncate = 4,      // create or truncate for writing
  WriteCreateKeep = 5,     // write, create when missing, keep content
  ReadWriteCreateKeep = 6, // read and write, create when missing, keep content
};
enum class Sharing : int32_t { None = 1, DenyRead = 2, DenyWrite = 3, Exclusive = 4 };

// An open file: a descriptor on POSIX, a HANDLE on Windows. The sharing
// values are Windows' share modes; on POSIX, values other than None take an
// advisory lock (shared for deny-write, exclusive for deny-read and
// exclusive), and the open fails when another holder conflicts.
class FileHandle {
 public:
  FileHandle() = default;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  ~FileHandle();

  // Modes outside 1-6 and sharing outside 1-4 fail. Directories fail.
  static FileHandle Open(std::string_view gbkPath, OpenMode mode, Sharing sharing);

  bool IsOpen() const { return handle_ != kNoHandle; }
  // Up to n bytes from the current position; returns the count, -1 on error.
  int64_t Read(void* buffer, int64_t n);
  // All n bytes or false; on failure the position returns to where it began.
  bool Write(const void* data, int64_t n);
  bool SeekToEnd();
  bool SeekTo(int64_t offset);
  int64_t Position() const;
  int64_t Size() const;
  // True at or beyond the end; in text mode also when the next byte is 0 or 0x1A.
  bool AtEnd(bool textMode);
  void Close();

 private:
  static constexpr intptr_t kNoHandle = -1;
  explicit FileHandle(intptr_t handle) : handle_(handle) {}
  int Fd() const;  // the descriptor, on POSIX
  intptr_t handle_ = kNoHandle;
};

}  // namespace vlmr::platform
