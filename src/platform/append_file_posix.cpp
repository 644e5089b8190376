#include "platform/append_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/file_install.h"

namespace vlmr::platform {

void AppendFile::Close() {
  if (IsOpen()) close(static_cast<int>(handle_));
  handle_ = kNoHandle;
}

AppendFile AppendFile::Open(const std::string& nativePath, std::string* why) {
  AppendFile file;
  const int descriptor = open(nativePath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (descriptor < 0) {
    if (why) *why = LastSystemError();
    return file;
  }
  file.handle_ = descriptor;
  return file;
}

int64_t AppendFile::Size() const {
  struct stat status{};
  if (!IsOpen() || fstat(static_cast<int>(handle_), &status) != 0) return -1;
  return status.st_size;
}

bool AppendFile::Append(const void* data, size_t n) {
  // O_APPEND: the system moves to the end and writes in one step.
  return IsOpen() && write(static_cast<int>(handle_), data, n) == static_cast<ssize_t>(n);
}

bool MoveFileOver(const std::string& nativeFrom, const std::string& nativeTo) {
  return std::rename(nativeFrom.c_str(), nativeTo.c_str()) == 0;
}

LocalTime ToLocalTime(std::time_t seconds) {
  LocalTime local;
  localtime_r(&seconds, &local.fields);
  local.utcOffsetMinutes = static_cast<int>(local.fields.tm_gmtoff / 60);
  return local;
}

}  // namespace vlmr::platform
