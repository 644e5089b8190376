// The update's lines in the launcher's log beyond what it says on standard
// error: every HTTP answer it got, each file's check and download with sizes,
// times and resumes, and a download's progress in tenths of the file.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "update/file_check.h"

namespace vlmr::update {

// "fetched URL: HTTP 200, 1234 bytes"; "fetching URL: no answer" when no
// response arrived (status nullopt).
void LogFetch(std::string_view utf8Url, std::optional<uint32_t> status, size_t bytes);

// One download attempt's answer: "GET URL: HTTP 200", "GET URL from byte N:
// HTTP 206", or "... : no answer" (status 0).
void LogDownloadAnswer(std::string_view utf8Url, int64_t fromByte, int32_t status);

// "checked PATH: current|out of date|missing, N bytes, read and hashed in T ms"
// (or "vouched for by the verified-state index" when not read). PATH is
// LogNameOf the file's launcher path.
void LogChecked(std::string_view gbkLocalPath, const CheckResult& result);

// "downloaded PATH: N bytes in T s, resumed K times".
void LogDownloaded(std::string_view gbkLocalPath, int64_t bytes, std::chrono::milliseconds took,
                   int resumes);

// A file's path relative to the game folder in UTF-8 with "/" separators,
// from its launcher path or the launcher path of its partial download.
std::string LogNameOf(std::string_view gbkLocalPath);

// Logs a download's progress each time it passes a tenth of the whole file:
// "PATH: 30% (N of M bytes)".
class ProgressLog {
 public:
  // `name` as LogNameOf gives it; `first`: the bytes the file held when this
  // transfer began; `total`: the whole file's size (0 when unknown: no lines).
  ProgressLog(std::string name, int64_t first, int64_t total);
  // The file now holds `bytes`.
  void Reached(int64_t bytes);

 private:
  int TenthsOf(int64_t bytes) const;

  std::string name_;
  int64_t total_;
  int nextTenth_;
};

}  // namespace vlmr::update
