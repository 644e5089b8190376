#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

namespace fs = std::filesystem;

void MakeReadOnly(const fs::path& path) {
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

size_t EntryCount(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(FileSystem, AttributesFollowWindowsMeaning) {
  test::TempDir dir;
  dir.Write("file", "x");
  dir.Write("locked", "x");
  MakeReadOnly(dir / "locked");  // read-only even though the tests may run as root
  // The bits the launcher reads; a system may set others (Windows: archive).
  const uint32_t meaningful = kFileAttributeDirectory | kFileAttributeReadOnly;
  EXPECT_EQ(FileAttributes(dir.LauncherPath() + "\\file") & meaningful, 0u);
  EXPECT_EQ(FileAttributes(dir.LauncherPath() + "\\LOCKED") & meaningful, kFileAttributeReadOnly);
  EXPECT_EQ(FileAttributes(dir.LauncherPath()) & meaningful, kFileAttributeDirectory);
  EXPECT_EQ(FileAttributes(dir.LauncherPath() + "\\missing"), kInvalidFileAttributes);
  EXPECT_EQ(FileAttributes(""), kInvalidFileAttributes);
}

TEST(FileSystem, ExistsAndSizeForFilesDirectoriesAndMissingPaths) {
  test::TempDir dir;
  dir.Write("five", "12345");
  EXPECT_TRUE(PathExists(dir.LauncherPath() + "\\FIVE"));
  EXPECT_TRUE(PathExists(dir.LauncherPath()));
  EXPECT_FALSE(PathExists(dir.LauncherPath() + "\\missing"));
  EXPECT_FALSE(PathExists(""));
  EXPECT_EQ(FileSizeLow(dir.LauncherPath() + "\\five"), 5);
  EXPECT_EQ(FileSizeLow(dir.LauncherPath() + "\\missing"), -1);
  EXPECT_EQ(FileSizeLow(dir.LauncherPath()), -1);
  fs::resize_file(dir / "five", (uint64_t{1} << 32) + 3);  // sparse: only the low word counts
  EXPECT_EQ(FileSizeLow(dir.LauncherPath() + "\\five"), 3);
}

TEST(FileSystem, CopyOverwritesAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  dir.Write("source", "new content");
  dir.Write("target", "old");
  ASSERT_TRUE(CopyFileOverwrite(dir.LauncherPath() + "\\source", dir.LauncherPath() + "\\TARGET"));
  EXPECT_EQ(dir.Read("target"), "new content");
  ASSERT_TRUE(CopyFileOverwrite(dir.LauncherPath() + "\\source", dir.LauncherPath() + "\\fresh"));
  EXPECT_EQ(dir.Read("fresh"), "new content");
  EXPECT_EQ(EntryCount(dir.path()), 3u);
}

TEST(FileSystem, FailedCopyKeepsTheDestination) {
  test::TempDir dir;
  dir.Write("source", "new");
  dir.Write("target", "old");
  dir.Write("locked", "kept");
  MakeReadOnly(dir / "locked");
  EXPECT_FALSE(CopyFileOverwrite(dir.LauncherPath() + "\\missing", dir.LauncherPath() + "\\target"));
  EXPECT_FALSE(CopyFileOverwrite(dir.LauncherPath() + "\\source", dir.LauncherPath() + "\\locked"));
  EXPECT_FALSE(CopyFileOverwrite(dir.LauncherPath() + "\\source", dir.LauncherPath() + "\\no\\x"));
  EXPECT_FALSE(CopyFileOverwrite(dir.LauncherPath(), dir.LauncherPath() + "\\target"));
  EXPECT_EQ(dir.Read("target"), "old");
  EXPECT_EQ(dir.Read("locked"), "kept");
  EXPECT_EQ(EntryCount(dir.path()), 3u);
}

TEST(FileSystem, CreateOneDirectoryMakesExactlyOneLevel) {
  test::TempDir dir;
  EXPECT_TRUE(CreateOneDirectory(dir.LauncherPath() + "\\new\\"));
  EXPECT_TRUE(fs::is_directory(dir / "new"));
  EXPECT_FALSE(CreateOneDirectory(dir.LauncherPath() + "\\NEW"));
  EXPECT_FALSE(CreateOneDirectory(dir.LauncherPath() + "\\a\\b"));
  EXPECT_FALSE(CreateOneDirectory(""));
}

}  // namespace
}  // namespace vlmr::platform
