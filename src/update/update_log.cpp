#include "update/update_log.h"

#include <algorithm>
#include <cstdio>

#include "platform/codepage.h"
#include "platform/launcher_log.h"
#include "runtime/runtime_frame.h"
#include "update/reserved_names.h"

namespace vlmr::update {
namespace {

std::string Answer(int32_t status) {
  return status > 0 ? "HTTP " + std::to_string(status) : std::string("no answer");
}

std::string Bytes(int64_t bytes) { return std::to_string(bytes) + " bytes"; }

}  // namespace

void LogFetch(std::string_view utf8Url, std::optional<uint32_t> status, size_t bytes) {
  const std::string url(utf8Url);
  platform::Log(status ? "fetched " + url + ": " + Answer(static_cast<int32_t>(*status)) + ", " +
                             Bytes(static_cast<int64_t>(bytes))
                       : "fetching " + url + ": no answer");
}

void LogDownloadAnswer(std::string_view utf8Url, int64_t fromByte, int32_t status) {
  const std::string from = fromByte > 0 ? " from byte " + std::to_string(fromByte) : std::string();
  platform::Log("GET " + std::string(utf8Url) + from + ": " + Answer(status));
}

void LogChecked(std::string_view gbkLocalPath, const CheckResult& result) {
  std::string line = "checked " + LogNameOf(gbkLocalPath) + ": ";
  if (!result.stamp) {
    platform::Log(line + "missing");
    return;
  }
  line += result.outOfDate ? "out of date, " : "current, ";
  line += Bytes(result.stamp->size);
  line += result.hashed ? ", read and hashed in " + std::to_string(result.took.count()) + " ms"
                        : ", vouched for by the verified-state index";
  platform::Log(line);
}

void LogDownloaded(std::string_view gbkLocalPath, int64_t bytes, std::chrono::milliseconds took,
                   int resumes) {
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.1f s", static_cast<double>(took.count()) / 1000.0);
  platform::Log("downloaded " + LogNameOf(gbkLocalPath) + ": " + Bytes(bytes) + " in " + seconds +
                ", resumed " + std::to_string(resumes) + " times");
}

std::string LogNameOf(std::string_view gbkLocalPath) {
  const std::string folder = rt::ProgramDirectory() + "\\";
  if (gbkLocalPath.starts_with(folder)) gbkLocalPath.remove_prefix(folder.size());
  if (gbkLocalPath.ends_with(kPartialSuffix)) gbkLocalPath.remove_suffix(kPartialSuffix.size());
  std::string name = platform::GbkToUtf8(gbkLocalPath);
  std::replace(name.begin(), name.end(), '\\', '/');  // UTF-8 has no 0x5C inside a character
  return name;
}

ProgressLog::ProgressLog(std::string name, int64_t first, int64_t total)
    : name_(std::move(name)), total_(total), nextTenth_(total > 0 ? TenthsOf(first) + 1 : 0) {}

void ProgressLog::Reached(int64_t bytes) {
  if (total_ <= 0) return;
  const int tenths = TenthsOf(bytes);
  if (tenths < nextTenth_) return;
  nextTenth_ = tenths + 1;
  platform::Log(name_ + ": " + std::to_string(tenths * 10) + "% (" + std::to_string(bytes) + " of " +
                Bytes(total_) + ")");
}

int ProgressLog::TenthsOf(int64_t bytes) const {
  return bytes >= total_ ? 10 : static_cast<int>(bytes * 10 / total_);
}

}  // namespace vlmr::update
