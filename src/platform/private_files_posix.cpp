#include "platform/private_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace vlmr::platform {
namespace {

namespace fs = std::filesystem;

std::string SystemReason() { return std::strerror(errno); }

bool OwnedByUserOrAdministrator(const struct stat& info) {
  return info.st_uid == geteuid() || info.st_uid == 0;
}

bool OthersMayWrite(const struct stat& info) { return (info.st_mode & (S_IWGRP | S_IWOTH)) != 0; }

// A folder that is really a folder (not a link), belongs to the user and
// that nobody else may enter.
bool IsPrivateFolder(const char* path) {
  struct stat info;
  return lstat(path, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & 077) == 0;
}

// $XDG_RUNTIME_DIR/vlmr when the session has a private runtime folder,
// otherwise vlmr-<uid> in the temporary folder ($TMPDIR or /tmp).
fs::path PrivateFolderPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && IsPrivateFolder(runtime)) {
    return fs::path(runtime) / "vlmr";
  }
  const char* temporary = std::getenv("TMPDIR");
  fs::path base = temporary != nullptr && temporary[0] == '/' ? temporary : "/tmp";
  return base / ("vlmr-" + std::to_string(geteuid()));
}

std::string WhyFolderUntrusted(const fs::path& folder) {
  struct stat info;
  if (stat(folder.c_str(), &info) != 0) return folder.string() + ": " + SystemReason();
  if (!OwnedByUserOrAdministrator(info)) {
    return "its folder " + folder.string() + " belongs to another user (uid " +
           std::to_string(info.st_uid) + ")";
  }
  if (OthersMayWrite(info)) return "its folder " + folder.string() + " may be written by others";
  return {};
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<fs::path> UserPrivateFolder(std::string* why) {
  const fs::path folder = PrivateFolderPath();
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    *why = folder.string() + ": " + SystemReason();
    return std::nullopt;
  }
  struct stat info;
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    *why = folder.string() + " is not a folder";
    return std::nullopt;
  }
  if (info.st_uid != geteuid()) {
    *why = folder.string() + " belongs to another user (uid " + std::to_string(info.st_uid) + ")";
    return std::nullopt;
  }
  // The user's own folder, opened up by hand or by a umask: closed again.
  if ((info.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0) {
    *why = folder.string() + ": " + SystemReason();
    return std::nullopt;
  }
  return folder;
}

std::string WhyUntrusted(const fs::path& file) {
  struct stat info;
  if (stat(file.c_str(), &info) != 0) return SystemReason();
  if (!S_ISREG(info.st_mode)) return "it is not a regular file";
  if (!OwnedByUserOrAdministrator(info)) {
    return "it belongs to another user (uid " + std::to_string(info.st_uid) + ")";
  }
  if (OthersMayWrite(info)) return "it may be written by others";
  std::error_code error;
  const fs::path real = fs::canonical(file, error);
  if (error) return error.message();
  return WhyFolderUntrusted(real.parent_path());
}

bool WritePrivateFile(const fs::path& file, std::string_view bytes, std::string* why) {
  std::string temporary = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    *why = SystemReason();
    return false;
  }
  bool written = fchmod(fd, 0700) == 0 && WriteAll(fd, bytes);
  if (!written) *why = SystemReason();
  if (close(fd) != 0 && written) {
    written = false;
    *why = SystemReason();
  }
  if (written && rename(temporary.c_str(), file.c_str()) != 0) {
    written = false;
    *why = SystemReason();
  }
  if (!written) unlink(temporary.c_str());
  return written;
}

}  // namespace vlmr::platform
