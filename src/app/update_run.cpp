#include "app/update_run.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <unordered_set>

#include "app/window_handlers.h"
#include "launch/launch_client.h"
#include "platform/codepage.h"
#include "platform/file_install.h"
#include "platform/folder_lock.h"
#include "platform/launcher_log.h"
#include "runtime/commands.h"
#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "update/download.h"
#include "update/entry_policy.h"
#include "update/file_check.h"
#include "update/file_md5.h"
#include "update/manifest.h"
#include "update/manifest_signature.h"
#include "update/manifest_version_record.h"
#include "update/partial_download.h"
#include "update/path_helpers.h"
#include "update/reserved_names.h"
#include "update/signed_manifest.h"
#include "update/update_log.h"
#include "update/verified_state.h"
#include "update/whole_body_fetch.h"

namespace vlmr::app {

using namespace update;  // the update subsystem's routines are what the run strings together

namespace {

using namespace rt::literals;
using namespace std::chrono_literals;
namespace ids = rt::ids;

// Fresh downloads of a file whose bytes keep differing from its digest.
constexpr int kMaxDigestMismatches = 3;
// Busy answers in a row (5xx, 408, 429, refused or reset) before a file fails.
constexpr int kMaxBusyAnswers = 5;
constexpr auto kLongestPause = 30s;

void SetStatus(const char* gbkText) {
  rt::SetControlText(ids::kLauncherWindow, ids::kStatusLabel, ids::kSlotText, gbkText);
  platform::Log("status: " + platform::GbkToUtf8(gbkText));
}

void Say(const std::string& utf8Line) { platform::Say("update", utf8Line); }

std::string Utf8(std::string_view gbk) { return platform::GbkToUtf8(gbk); }

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

// The pause before attempt `attempt` + 1: growing with the attempts, or as
// long as the server asked, never longer than kLongestPause.
std::chrono::milliseconds PauseBefore(int attempt, std::optional<std::chrono::seconds> asked) {
  std::chrono::milliseconds pause = 500ms * attempt;
  if (asked) pause = std::max<std::chrono::milliseconds>(pause, *asked);
  return std::min<std::chrono::milliseconds>(pause, kLongestPause);
}

enum class Fetched { Done, Failed, WriteFailed };

// Downloads the entry's URL into its partial file, resuming what an earlier
// attempt (or start) left for the same digest and URL, and after read
// failures for as long as the attempts make progress. A server that keeps
// breaking the transfer without sending anything new, or keeps answering
// that it is busy, is given up after a bounded number of attempts with a
// growing pause between them.
Fetched FetchIntoPartial(const ManifestEntry& entry, const PartialDownload& partial, int& resumes) {
  ResumeOffset = partial.BytesToResume();
  partial.Claim();
  const std::string url = Utf8(entry.Url.view());
  int withoutProgress = 0;
  int busy = 0;
  for (;;) {
    MakeSureDirectoryExists(partial.Path().c_str());
    const int64_t before = ResumeOffset;
    if (before > 0) ++resumes;
    DownloadNotes notes;
    const int32_t result = DownloadFile(entry.Url.get(), partial.Path().c_str(), ShowUpdateProgress,
                                        before, before > 0, &notes);
    if (result == kDownloadDone) return Fetched::Done;
    if (result == kDownloadFailed) return Fetched::Failed;
    if (result == kDownloadWriteFailed) return Fetched::WriteFailed;
    std::chrono::milliseconds pause;
    if (result == kDownloadServerBusy) {
      if (++busy >= kMaxBusyAnswers) {
        Say("giving up on " + url + ": the server stays busy or unreachable");
        return Fetched::Failed;
      }
      pause = PauseBefore(busy, notes.retryAfter);
      Say(url + (notes.status ? " answered " + std::to_string(notes.status) : " did not answer") +
          "; trying again in " + std::to_string(pause.count()) + " ms");
    } else {
      // Only a count beyond the last one is progress: a restart from zero is not.
      withoutProgress = ResumeOffset > before ? 0 : withoutProgress + 1;
      if (withoutProgress >= kMaxAttemptsWithoutProgress) {
        Say("giving up on " + url + ": the transfer keeps breaking without progress");
        return Fetched::Failed;
      }
      pause = 250ms * withoutProgress;
      Say(url + " broke off at byte " + std::to_string(ResumeOffset) + "; resuming in " +
          std::to_string(pause.count()) + " ms");
    }
    std::this_thread::sleep_for(pause);
  }
}

// Downloads an out-of-date entry beside its target, checks the bytes against
// the manifest's digest and only then puts them in place; the old file stays
// until that moment. False when the file failed.
bool InstallEntry(const ManifestEntry& entry, const std::string& target, const char* programDirectory) {
  const PartialDownload partial(programDirectory, target, entry.Md5.view(), entry.Url.view());
  const bool checkable = IsWellFormedDigest(entry.Md5.view());
  const std::string url = Utf8(entry.Url.view());
  const auto start = std::chrono::steady_clock::now();
  int resumes = 0;
  for (int attempt = 0; attempt < kMaxDigestMismatches; ++attempt) {
    switch (FetchIntoPartial(entry, partial, resumes)) {
      case Fetched::Failed: return false;  // the partial file stays for a later start
      case Fetched::WriteFailed: partial.Discard(); return false;
      case Fetched::Done: break;
    }
    if (!checkable || SameDigest(FileMd5(partial.Path().c_str()).view(), entry.Md5.view())) {
      std::string why;
      const int64_t bytes = ResumeOffset;
      if (partial.Install(&why)) {
        LogDownloaded(target, bytes, std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start), resumes);
        return true;
      }
      Say("installing " + Utf8(target) + " failed: " + why);
      partial.Discard();
      return false;
    }
    Say(url + " gave bytes whose MD5 is not the manifest's; fetching it again from the first byte");
    partial.Discard();
  }
  Say("giving up on " + url + ": its bytes never matched the manifest's MD5");
  return false;
}

// The check items of the entries that are not refused, and each entry's
// place among them (nullopt: refused, with the reason said when its turn comes).
struct Plan {
  std::vector<CheckItem> items;
  std::vector<std::optional<size_t>> itemOf;
  std::vector<std::string> refusals;
};

Plan PlanChecks(const std::vector<ManifestEntry>& entries, const char* programDirectory) {
  Plan plan;
  plan.itemOf.reserve(entries.size());
  plan.refusals.resize(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const rt::Text localPath = LocalPathOf(entries[i], programDirectory);
    if (std::optional<std::string> why = WhyRefused(entries[i], localPath.get())) {
      plan.refusals[i] = *why;
      plan.itemOf.push_back(std::nullopt);
      continue;
    }
    plan.itemOf.push_back(plan.items.size());
    plan.items.push_back({std::string(localPath.view()), std::string(entries[i].Md5.view()), IndexKeyOf(entries[i])});
  }
  return plan;
}

// Brings the entries up to date in manifest order, their files checked ahead.
class EntryUpdater {
 public:
  EntryUpdater(const std::vector<ManifestEntry>& entries, std::string programDirectory, bool trustIndex)
      : entries_(entries),
        programDirectory_(std::move(programDirectory)),
        index_(trustIndex ? VerifiedState::Load(programDirectory_) : VerifiedState(programDirectory_)),
        plan_(PlanChecks(entries, programDirectory_.c_str())),
        check_(std::move(plan_.items), index_) {}

  // False when entry i's download failed.
  bool Update(size_t i) {
    const ManifestEntry& entry = entries_[i];
    if (!plan_.itemOf[i]) {
      Say(plan_.refusals[i] + ": " + Utf8(entry.RelativePath.view()));
      return true;
    }
    const CheckItem& item = check_.item(*plan_.itemOf[i]);
    CheckResult result = check_.Take(*plan_.itemOf[i]);
    if (installed_.count(item.key)) result = CheckFile(item, index_);  // listed twice: check what is there now
    LogChecked(item.localPath, result);
    if (!IsWellFormedDigest(item.digest)) {
      Say(Utf8(entry.RelativePath.view()) +
          ": the manifest gives no 32-digit MD5, so the file is downloaded on every start and not checked");
    }
    if (!result.outOfDate) {
      index_.Record(item.key, *result.stamp, item.digest);
      return true;
    }
    if (!Install(entry, item)) return false;
    installed_.insert(item.key);
    return true;
  }

  // Ends the checkers and keeps what was verified for the next start.
  void Finish() {
    check_.Stop();
    index_.Save();
  }

 private:
  bool Install(const ManifestEntry& entry, const CheckItem& item) {
    const platform::InstallTarget target = platform::ResolveInstallTarget(programDirectory_, item.localPath);
    if (target.gbkTarget.empty()) {
      Say("refused to write " + Utf8(entry.RelativePath.view()) + " through the link " +
          (target.refusedLink.empty() ? std::string("loop") : target.refusedLink) +
          ", which belongs to another user");
      return true;
    }
    if (!InstallEntry(entry, target.gbkTarget, programDirectory_.c_str())) return false;
    if (IsWellFormedDigest(item.digest)) {
      if (std::optional<platform::FileStamp> stamp = platform::StampOf(item.localPath)) {
        index_.Record(item.key, *stamp, item.digest);
      }
    }
    return true;
  }

  const std::vector<ManifestEntry>& entries_;
  const std::string programDirectory_;
  VerifiedState index_;
  Plan plan_;
  FileCheck check_;
  std::unordered_set<std::string> installed_;
};

// One update run at a time per game folder: a second launcher waits here,
// then finds the files current.
std::unique_ptr<platform::FolderLock> LockGameFolder(const char* programDirectory) {
  std::string why = "the launcher's folder cannot be made";
  std::unique_ptr<platform::FolderLock> lock;
  if (EnsureLauncherFolder(programDirectory)) {
    lock = platform::FolderLock::Acquire(LauncherFolderFile(programDirectory, "update.lock"), &why);
  }
  if (!lock) Say("updating without the game folder's lock: " + why);
  return lock;
}

uint64_t UnixNow() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
}

// The manifest body to decode. With a key, the signature file is fetched
// first and checked against this very body, so the bytes checked are the
// bytes decoded; nullopt when the check refuses them, saying why.
std::optional<rt::Bytes> FetchTrustedManifest(const std::string& url, const ManifestKey& manifestKey,
                                              const char* programDirectory) {
  const std::string signatureUrl = url + std::string(kSignatureSuffix);
  const rt::Bytes signature = manifestKey ? FetchWholeBody(signatureUrl.c_str()) : rt::Bytes();
  rt::Bytes body = FetchWholeBody(url.c_str());
  if (!manifestKey) return body;
  const std::string record = LauncherFolderFile(programDirectory, kManifestVersionRecord);
  std::string why;
  if (!AcceptSignedManifest(body.view(), signature.view(), *manifestKey, record, UnixNow(), &why)) {
    Say("refused the manifest from " + url + ": " + why);
    return std::nullopt;
  }
  return body;
}

// The box asks the player to try again: the start button is enabled for it.
void ReportFailedFetch() {
  SetStatus("获取更新文件失败..."_t);
  rt::cmd::MessageBox("网络连接失败,请重试"_t, 0, "提示"_t);
  SetStartDisabled(false);
}

}  // namespace

std::atomic<bool> ForceFullCheck{false};

std::string ManifestUrl() {
  if (const char* url = std::getenv("VLMR_MANIFEST_URL"); url != nullptr && *url != '\0') {
    return url;
  }
  return std::string("http://") + VLMR_UPDATE_HOST + "/Updateini2.ini";
}

void UpdateRun(const ManifestKey& manifestKey) {
  SetStatus("正在获取更新文件..."_t);
  SetStartDisabled(true);
  const rt::Text programDirectory = rt::cmd::ProgramDirectory();
  // Released before any box: another launcher need not wait for the player
  // to read one.
  std::unique_ptr<platform::FolderLock> lock = LockGameFolder(programDirectory.get());
  const std::string url = ManifestUrl();
  // The first body only tells that the server answers; the second is decoded.
  std::optional<rt::Bytes> body;
  if (!FetchWholeBody(url.c_str()).empty()) body = FetchTrustedManifest(url, manifestKey, programDirectory.get());
  if (!body) {
    lock.reset();
    ReportFailedFetch();
    return;
  }
  std::string problem;
  std::vector<ManifestEntry> entries = DecodeManifest(body->get(), &problem);
  if (entries.empty() && !body->empty()) Say("the manifest from " + url + " lists no file: " + problem);
  platform::Log("the manifest lists " + std::to_string(entries.size()) + " files");
  EntryUpdater updater(entries, std::string(programDirectory.view()), !ForceFullCheck);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!updater.Update(i)) {
      updater.Finish();
      lock.reset();
      rt::cmd::MessageBox("文件更新失败,请重启登陆器!"_t, 0, "提示"_t);
      rt::end_program(0);
    }
    ShowOverallProgress(i + 1, entries.size());
  }
  updater.Finish();
  rt::SetControlInt(ids::kLauncherWindow, ids::kProgressBar, ids::kSlotPosition, 100);
  SetStatus("游戏已启动..."_t);
  SetStartDisabled(false);
  launch::LaunchClient();
}

}  // namespace vlmr::app
