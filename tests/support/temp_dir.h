// A fresh temporary folder per test, removed with everything in it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vlmr::test {

class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::filesystem::path& path() const { return path_; }
  // Native path of a file inside the folder; `relative` is UTF-8 on every system.
  std::filesystem::path operator/(std::string_view relative) const;
  // The folder as a launcher path (GBK, "\" separators).
  std::string LauncherPath() const;
  // Writes bytes to a file inside the folder, creating parent folders.
  void Write(std::string_view relative, std::string_view bytes) const;
  std::string Read(std::string_view relative) const;

 private:
  std::filesystem::path path_;
};

// A new folder "<prefix><random number>" in `parent`.
std::filesystem::path MakeUniqueFolder(const std::filesystem::path& parent, std::string_view prefix);

// A path's UTF-8 form (what the launcher's native paths are, on every system).
std::string Utf8Of(const std::filesystem::path& path);

// Reads a whole native file; empty when missing.
std::string ReadFileBytes(const std::filesystem::path& path);
// The lines of a native file, without their line feeds.
std::vector<std::string> ReadFileLines(const std::filesystem::path& path);

}  // namespace vlmr::test
