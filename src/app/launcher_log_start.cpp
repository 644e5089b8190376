#include "app/launcher_log_start.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "app/launcher_startup.h"
#include "platform/launcher_log.h"
#include "platform/native_path.h"
#include "platform/system_info.h"
#include "update/reserved_names.h"

namespace vlmr::app {
namespace {

constexpr std::string_view kLogName = "launcher.log";

std::string InGameFolder(const std::string& gbkProgramDirectory) {
  if (!update::EnsureLauncherFolder(gbkProgramDirectory)) return {};
  return platform::ToNativePath(update::LauncherFolderFile(gbkProgramDirectory, kLogName));
}

std::string InUserStateFolder() {
  const std::string folder = platform::UserStateFolder();
  if (folder.empty()) return {};
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return {};
  return folder + "/" + std::string(kLogName);
}

}  // namespace

std::string StartLauncherLog(const std::string& gbkProgramDirectory) {
  std::string path = InGameFolder(gbkProgramDirectory);
  if (path.empty() || !platform::OpenLog(path)) {
    path = InUserStateFolder();
    if (path.empty() || !platform::OpenLog(path)) return {};
  }
  platform::Log(std::string("vlmr-launcher ") + LauncherVersion() + " started in " +
                platform::ToNativePath(gbkProgramDirectory));
  return path;
}

}  // namespace vlmr::app
