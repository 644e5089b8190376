#include "platform/file_handle.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

namespace fs = std::filesystem;

class FileHandleTest : public testing::Test {
 protected:
  std::string Path(const char* name) const { return dir_.LauncherPath() + "\\" + name; }
  FileHandle Open(const char* name, int mode, int sharing = 1) const {
    return FileHandle::Open(Path(name), static_cast<OpenMode>(mode), static_cast<Sharing>(sharing));
  }
  test::TempDir dir_;
};

TEST_F(FileHandleTest, ModesCreateTruncateOrKeepContent) {
  dir_.Write("existing", "content");
  EXPECT_FALSE(Open("missing", 1).IsOpen());
  EXPECT_FALSE(Open("missing", 2).IsOpen());
  EXPECT_FALSE(Open("missing", 3).IsOpen());
  EXPECT_TRUE(Open("created5", 5).IsOpen());
  EXPECT_TRUE(Open("created6", 6).IsOpen());
  EXPECT_TRUE(fs::exists(dir_ / "created5") && fs::exists(dir_ / "created6"));

  EXPECT_TRUE(Open("EXISTING", 5).IsOpen());
  EXPECT_TRUE(Open("existing", 6).IsOpen());
  EXPECT_EQ(dir_.Read("existing"), "content");
  EXPECT_TRUE(Open("existing", 4).IsOpen());
  EXPECT_EQ(dir_.Read("existing"), "");
}

TEST_F(FileHandleTest, InvalidArgumentsDirectoriesAndReadOnlyFilesAreRefused) {
  dir_.Write("locked", "kept");
  fs::permissions(dir_ / "locked", fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_FALSE(Open("x", 0).IsOpen());
  EXPECT_FALSE(Open("x", 7).IsOpen());
  EXPECT_FALSE(Open("x", 4, 0).IsOpen());
  EXPECT_FALSE(Open("x", 4, 5).IsOpen());
  EXPECT_FALSE(FileHandle::Open(dir_.LauncherPath(), OpenMode::ReadExisting, Sharing::None).IsOpen());
  EXPECT_TRUE(Open("locked", 1).IsOpen());
  for (int mode = 2; mode <= 6; ++mode) EXPECT_FALSE(Open("locked", mode).IsOpen()) << mode;
  EXPECT_EQ(dir_.Read("locked"), "kept");
}

TEST_F(FileHandleTest, SharingConflictsWithAnotherHolder) {
  dir_.Write("shared", "x");
  {
    FileHandle exclusive = Open("shared", 3, 4);
    ASSERT_TRUE(exclusive.IsOpen());
    EXPECT_FALSE(Open("shared", 1, 3).IsOpen());
    EXPECT_FALSE(Open("shared", 1, 2).IsOpen());
  }
  FileHandle reader = Open("shared", 1, 3);
  ASSERT_TRUE(reader.IsOpen());
  EXPECT_TRUE(Open("shared", 1, 3).IsOpen());
  EXPECT_FALSE(Open("shared", 3, 4).IsOpen());
}

TEST_F(FileHandleTest, ReadWriteSeekAndEndOfFile) {
  FileHandle file = Open("data", 6);
  ASSERT_TRUE(file.Write("ab\x1A" "c", 4));
  EXPECT_TRUE(file.AtEnd(false));
  ASSERT_TRUE(file.SeekTo(0));
  char buffer[16];
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 4);
  EXPECT_EQ(std::string(buffer, 4), "ab\x1A" "c");
  ASSERT_TRUE(file.SeekTo(2));
  EXPECT_FALSE(file.AtEnd(false));
  EXPECT_TRUE(file.AtEnd(true));  // the next byte is 0x1A
  EXPECT_TRUE(file.SeekToEnd());
  EXPECT_EQ(file.Position(), 4);
  EXPECT_EQ(file.Size(), 4);
  file.Close();
  EXPECT_EQ(file.Read(buffer, 1), -1);
  EXPECT_FALSE(file.Write("x", 1));
}

// A file-size limit makes the second write fail part way (in a child process,
// which the limit must not outlast).
}  // namespace
}  // namespace vlmr::platform
