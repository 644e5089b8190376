#include "platform/launcher_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <utility>

#include "platform/append_file.h"
#include "platform/url_credentials.h"

namespace vlmr::platform {
namespace {

struct LogFile {
  std::mutex mutex;
  std::string path;
  AppendFile file;
  int64_t rotateBytes = kLogRotateBytes;
};

LogFile& TheLog() {
  static auto* log = new LogFile();  // never destroyed: threads may log while the process ends
  return *log;
}

// "2026-12-09 13:08:01.123 +0100 ": local time, as a player reports it.
std::string Timestamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  const LocalTime local = ToLocalTime(seconds);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local.fields);
  const int offset = local.utcOffsetMinutes < 0 ? -local.utcOffsetMinutes : local.utcOffsetMinutes;
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%s.%03d %c%02d%02d ", date, static_cast<int>(millis),
                local.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
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
  const int64_t size = log.file.Size();
  if (size <= 0 || size + static_cast<int64_t>(adding) <= log.rotateBytes) return;
  MoveFileOver(log.path, log.path + ".1");
  AppendFile fresh = AppendFile::Open(log.path, nullptr);
  if (!fresh.IsOpen()) return;  // keep writing where we were rather than lose lines
  log.file = std::move(fresh);
}

}  // namespace

bool OpenLog(const std::string& nativePath, std::string* why, int64_t rotateBytes) {
  AppendFile file = AppendFile::Open(nativePath, why);
  const bool opened = file.IsOpen();
  LogFile& log = TheLog();
  std::lock_guard lock(log.mutex);
  log.file = std::move(file);
  log.path = opened ? nativePath : std::string();
  log.rotateBytes = rotateBytes;
  return opened;
}

void CloseLog() {
  LogFile& log = TheLog();
  std::lock_guard lock(log.mutex);
  log.file = AppendFile();
  log.path.clear();
}

void Log(std::string_view utf8Line) {
  LogFile& log = TheLog();
  std::lock_guard lock(log.mutex);
  if (!log.file.IsOpen()) return;
  const std::string line = Timestamp() + OneLine(utf8Line) + "\n";
  RotateIfFull(log, line.size());
  // One write per line: appended whole, lines of two processes never interleave.
  log.file.Append(line.data(), line.size());
}

void Say(std::string_view source, std::string_view utf8Line) {
  const std::string said = std::string(source) + ": " + WithoutUrlCredentials(utf8Line);
  std::fprintf(stderr, "%s\n", said.c_str());
  Log(said);
}

}  // namespace vlmr::platform
