#include "app/update_run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "app/window_handlers.h"
#include "launch/launch_client.h"
#include "platform/codepage.h"
#include "runtime/commands.h"
#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "update/download.h"
#include "update/manifest.h"
#include "update/path_helpers.h"
#include "update/safe_relative_path.h"
#include "update/whole_body_fetch.h"

namespace vlmr::app {

using namespace update;  // the update subsystem's routines are what the run strings together

namespace {

using namespace rt::literals;
namespace ids = rt::ids;

void SetStatus(const char* gbkText) {
  rt::SetControlText(ids::kLauncherWindow, ids::kStatusLabel, ids::kSlotText, gbkText);
}

void SayOnStandardError(const std::string& utf8Line) {
  std::fprintf(stderr, "%s\n", utf8Line.c_str());
}

// Bar = 100 / n x i truncated; label = the same rounded to two places, "%.13g", "%".
void ShowOverallProgress(size_t done, size_t total) {
  double share = 100.0 / static_cast<double>(total);
  double percent = share * static_cast<double>(done);
  rt::SetControlInt(ids::kLauncherWindow, ids::kProgressBar, ids::kSlotPosition,
                    static_cast<int32_t>(rt::to_int64(percent)));
  rt::Text number = rt::cmd::ToText(rt::cmd::RoundToDecimals(percent, 2));
  rt::Text label(rt::join_texts({number.get(), "%"}));
  rt::SetControlText(ids::kLauncherWindow, ids::kPercentLabel, ids::kSlotText, label.get());
}

void MakeSureDirectoryExists(const char* localPath) {
  rt::Text directory = DirectoryOfPath(localPath);
  if (!IsDirectory(directory.get())) EnsureDirectory(directory.get());
}

// Downloads one out-of-date file, resuming after read failures for as long as
// the attempts make progress. A server that keeps breaking the transfer
// without sending anything new is given up after kMaxAttemptsWithoutProgress
// attempts, with a growing pause between them. False when the file failed.
bool UpdateFile(const ManifestEntry& entry, const char* localPath) {
  ResumeOffset = 0;
  int attemptsWithoutProgress = 0;
  for (;;) {
    MakeSureDirectoryExists(localPath);
    int32_t before = ResumeOffset;
    int32_t result = before == 0
                         ? DownloadFile(entry.Url.get(), localPath, ShowUpdateProgress, 0, false)
                         : DownloadFile(entry.Url.get(), localPath, ShowUpdateProgress, before, true);
    if (result == kDownloadDone) return true;
    if (result == kDownloadFailed) return false;
    // Only a count beyond the last one is progress: a restart from zero is not.
    attemptsWithoutProgress = ResumeOffset > before ? 0 : attemptsWithoutProgress + 1;
    if (attemptsWithoutProgress >= kMaxAttemptsWithoutProgress) {
      SayOnStandardError("update: giving up on " + platform::GbkToUtf8(entry.Url.view()) +
                         ": the transfer keeps breaking without progress");
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(250) * attemptsWithoutProgress);
  }
}

// Brings one entry up to date; false when its download failed.
bool UpdateEntry(const ManifestEntry& entry, const char* programDirectory) {
  if (!IsSafeRelativePath(entry.RelativePath.view())) {
    SayOnStandardError("update: refused manifest path outside the game folder: " +
                       platform::GbkToUtf8(entry.RelativePath.view()));
    return true;
  }
  if (!IsOutOfDate(entry, programDirectory)) return true;
  rt::Text localPath(rt::join_texts({programDirectory, "\\", entry.RelativePath.get()}));
  return UpdateFile(entry, localPath.get());
}

}  // namespace

std::string ManifestUrl() {
  if (const char* url = std::getenv("VLMR_MANIFEST_URL"); url != nullptr && *url != '\0') {
    return url;
  }
  return std::string("http://") + VLMR_UPDATE_HOST + "/Updateini2.ini";
}

void UpdateRun() {
  SetStatus("正在获取更新文件..."_t);
  SetStartDisabled(true);
  const std::string url = ManifestUrl();
  if (FetchWholeBody(url.c_str()).empty()) {
    SetStatus("获取更新文件失败..."_t);
    rt::cmd::MessageBox("网络连接失败,请重试"_t, 0, "提示"_t);
    return;
  }
  // The first body only tells that the server answers; the second is decoded.
  std::vector<ManifestEntry> entries = DecodeManifest(FetchWholeBody(url.c_str()).get());
  rt::Text programDirectory = rt::cmd::ProgramDirectory();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!UpdateEntry(entries[i], programDirectory.get())) {
      rt::cmd::MessageBox("文件更新失败,请重启登陆器!"_t, 0, "提示"_t);
      rt::end_program(0);
    }
    ShowOverallProgress(i + 1, entries.size());
  }
  rt::SetControlInt(ids::kLauncherWindow, ids::kProgressBar, ids::kSlotPosition, 100);
  SetStatus("游戏已启动..."_t);
  SetStartDisabled(false);
  launch::LaunchClient();
}

}  // namespace vlmr::app
