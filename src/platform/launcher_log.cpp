#include "platform/launcher_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "platform/file_install.h"
#include "platform/url_credentials.h"

namespace vlmr::platform {
namespace {

struct LogFile {
  std::mutex mutex;
  std::string path;
  int descriptor = -1;
  int64_t rotateBytes = kLogRotateBytes;
};

LogFile& TheLog() {
  static auto* log = new LogFile();  // never destroyed: threads may log while the process ends
  return *log;
}

// Appending, so that lines of two launchers in one game folder never overwrite
// each other; not inherited by the game client.
int OpenForAppending(const std::string& path) {
  return open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

// "2026-12-09 13:08:01.123 +0100 ": local time, as a player reports it.
std::string Timestamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  char date[32];
  char zone[8];
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
  std::strftime(zone, sizeof zone, "%z", &local);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%s.%03d %s ", date, static_cast<int>(millis), zone);
  return stamp;
}

std::string OneLine(std::string_view text) {
  std::string line = WithoutUrlCredentials(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

// Under the log's mutex: when the file (as written by every process that
// appends to it) would grow past the limit, it becomes "<path>.1" and a new
// file is started.
void RotateIfFull(LogFile& log, size_t adding) {
  struct stat status{};
  if (fstat(log.descriptor, &status) != 0 || status.st_size == 0 ||
      status.st_size + static_cast<int64_t>(adding) <= log.rotateBytes)
    return;
  std::rename(log.path.c_str(), (log.path + ".1").c_str());
  const int fresh = OpenForAppending(log.path);
  if (fresh < 0) return;  // keep writing where we were rather than lose lines
  close(log.descriptor);
  log.descriptor = fresh;
}

}  // namespace

bool OpenLog(const std::string& nativePath, std::string* why, int64_t rotateBytes) {
  const int descriptor = OpenForAppending(nativePath);
  if (descriptor < 0 && why) *why = LastSystemError();
  LogFile& log = TheLog();
  std::lock_guard lock(log.mutex);
  if (log.descriptor >= 0) close(log.descriptor);
  log.descriptor = descriptor;
  log.path = descriptor < 0 ? std::string() : nativePath;
  log.rotateBytes = rotateBytes;
  return descriptor >= 0;
}

void CloseLog() {
  LogFile& log = TheLog();
  std::lock_guard lock(log.mutex);
  if (log.descriptor >= 0) close(log.descriptor);
  log.descriptor = -1;
  log.path.clear();
}

void Log(std::string_view utf8Line) {
  LogFile& log = TheLog();
  std::lock_guard lock(log.mutex);
  if (log.descriptor < 0) return;
  const std::string line = Timestamp() + OneLine(utf8Line) + "\n";
  RotateIfFull(log, line.size());
  // One write per line: with O_APPEND, lines of two processes never interleave.
  [[maybe_unused]] const ssize_t written = write(log.descriptor, line.data(), line.size());
}

void Say(std::string_view source, std::string_view utf8Line) {
  const std::string said = std::string(source) + ": " + WithoutUrlCredentials(utf8Line);
  std::fprintf(stderr, "%s\n", said.c_str());
  Log(said);
}

}  // namespace vlmr::platform
