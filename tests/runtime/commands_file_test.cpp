// File commands on real files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/commands.h"
#include "support/temp_dir.h"

namespace vlmr::rt {
namespace {

class FileCommands : public testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir.LauncherPath() + "\\" + name; }
  test::TempDir dir;
};

TEST_F(FileCommands, SizeAndExistenceOfFilesDirectoriesAndMissingNames) {
  dir.Write("five.bin", "12345");
  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(cmd::FileSize(Path("five.bin").c_str()), 5);
  EXPECT_EQ(cmd::FileSize(Path("missing.bin").c_str()), -1);
  EXPECT_TRUE(cmd::FileExists(Path("five.bin").c_str()));
  EXPECT_TRUE(cmd::FileExists(Path("folder").c_str()));
  EXPECT_FALSE(cmd::FileExists(Path("missing.bin").c_str()));
  EXPECT_FALSE(cmd::FileExists(nullptr));
}

TEST_F(FileCommands, CopyOverwritesTheDestination) {
  dir.Write("src", "new");
  dir.Write("dst", "old and longer");
  EXPECT_TRUE(cmd::CopyFile(Path("src").c_str(), Path("dst").c_str()));
  EXPECT_EQ(dir.Read("dst"), "new");
  EXPECT_FALSE(cmd::CopyFile(Path("missing").c_str(), Path("dst2").c_str()));
}

TEST_F(FileCommands, ReadUntilTheEndInBlocks) {
  dir.Write("data", "abcdefg");
  const int32_t file = cmd::OpenFile(Path("data").c_str(), 1);
  ASSERT_NE(file, 0);
  std::string read;
  while (!cmd::AtEndOfFile(file)) read += cmd::ReadFromFile(file, 3).view();
  EXPECT_EQ(read, "abcdefg");
  EXPECT_EQ(cmd::ReadFromFile(file, 3).get(), nullptr);  // at the end
  cmd::CloseFile(file);
}

TEST_F(FileCommands, HugeOrNegativeReadCountsAndUnknownNumbersGiveEmptyResults) {
  dir.Write("data", "abc");
  const int32_t file = cmd::OpenFile(Path("data").c_str(), 1);
  ASSERT_NE(file, 0);
  EXPECT_EQ(cmd::ReadFromFile(file, -1).get(), nullptr);
  EXPECT_EQ(cmd::ReadFromFile(file, 0).get(), nullptr);
  EXPECT_EQ(cmd::ReadFromFile(file, INT32_MAX).view(), "abc");  // no 2 GiB block
  cmd::CloseFile(file);

  EXPECT_EQ(cmd::ReadFromFile(file, 10).get(), nullptr);  // closed number
  EXPECT_TRUE(cmd::AtEndOfFile(file));                     // read loops stop
  EXPECT_FALSE(cmd::SeekToEnd(file));
  const Bytes bytes = cmd::ToByteArray("x");
  EXPECT_FALSE(cmd::WriteToFile(file, {bytes.get()}));
  cmd::CloseFile(file);  // closing twice is harmless
}

TEST_F(FileCommands, OpenModeDefaultsToReadWriteOfAnExistingFile) {
  EXPECT_EQ(cmd::OpenFile(Path("absent").c_str()), 0);  // mode omitted: existing only
  dir.Write("log", "12");
  const int32_t file = cmd::OpenFile(Path("log").c_str());
  ASSERT_NE(file, 0);
  ASSERT_TRUE(cmd::SeekToEnd(file));
  const Bytes a = cmd::ToByteArray("ab");
  const Bytes c = cmd::ToByteArray("c");
  EXPECT_TRUE(cmd::WriteToFile(file, {a.get(), nullptr, c.get()}));
  cmd::CloseFile(file);
  EXPECT_EQ(dir.Read("log"), "12abc");
}

TEST_F(FileCommands, CreateModeAndTextModeEndOfFile) {
  const int32_t file = cmd::OpenFile(Path("made").c_str(), 6);
  ASSERT_NE(file, 0);
  const Bytes content = cmd::ToByteArray("ab\x1A" "cd");
  ASSERT_TRUE(cmd::WriteToFile(file, {content.get()}));
  cmd::CloseFile(file);

  const int32_t reader = cmd::OpenFile(Path("made").c_str(), 1);
  EXPECT_EQ(cmd::ReadFromFile(reader, 2).view(), "ab");
  EXPECT_FALSE(cmd::AtEndOfFile(reader));
  EXPECT_TRUE(cmd::AtEndOfFile(reader, true));  // next byte is 0x1A
  cmd::CloseFile(reader);
}

TEST_F(FileCommands, FileNumbersAreDistinctAndIndependent) {
  dir.Write("one", "1");
  dir.Write("two", "2");
  const int32_t a = cmd::OpenFile(Path("one").c_str(), 1);
  const int32_t b = cmd::OpenFile(Path("two").c_str(), 1);
  ASSERT_NE(a, 0);
  ASSERT_NE(b, 0);
  EXPECT_NE(a, b);
  cmd::CloseFile(a);
  EXPECT_EQ(cmd::ReadFromFile(b, 5).view(), "2");
  cmd::CloseFile(b);
}

}  // namespace
}  // namespace vlmr::rt
