// Path helpers on real directories in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "runtime/declared_functions.h"
#include "runtime/rt_heap.h"
#include "support/temp_dir.h"
#include "update/path_helpers.h"

namespace vlmr::update {
namespace {

using namespace rt::literals;
namespace fs = std::filesystem;

std::u16string Units(const rt::Bytes& wide) {
  return std::u16string(reinterpret_cast<const char16_t*>(wide.data()), wide.size() / 2);
}

TEST(ToWideText, ConvertsGbkWithTheTerminatorAndEmptyToEmpty) {
  const std::string text = std::string("a") + "乗"_t;
  const rt::Bytes wide = ToWideText(text.c_str(), 936);
  EXPECT_EQ(wide.size(), 6);  // 2 x (2 characters + terminator)
  EXPECT_EQ(Units(wide), (std::u16string{u'a', u'乗', u'\0'}));
  EXPECT_EQ(ToWideText("", 936).get(), nullptr);
  EXPECT_EQ(ToWideText(nullptr, 936).get(), nullptr);
}

class PathHelpers : public testing::Test {
 protected:
  std::string Path(const std::string& relative) const { return dir.LauncherPath() + relative; }
  test::TempDir dir;
};

TEST_F(PathHelpers, DirectoryTestsTellDirectoriesFromFilesAndMissingPaths) {
  dir.Write("file.txt", "x");
  for (auto isDirectory : {&IsDirectory, &IsDirectoryByAttributes}) {
    EXPECT_TRUE(isDirectory(Path("").c_str()));
    EXPECT_FALSE(isDirectory(Path("\\file.txt").c_str()));
    EXPECT_FALSE(isDirectory(Path("\\missing").c_str()));
    EXPECT_FALSE(isDirectory(""));
  }
}

TEST_F(PathHelpers, DirectoryOfPathCutsAfterTheLastRealBackslash) {
  EXPECT_EQ(DirectoryOfPath("D:\\Game\\data\\file.txt").view(), "D:\\Game\\data\\");
  EXPECT_TRUE(DirectoryOfPath("file.txt").empty());
  // 乗 ends in the byte 0x5C, which is no backslash.
  const std::string gbk = std::string("D:\\Game\\") + "乗"_t;
  EXPECT_EQ(DirectoryOfPath(gbk.c_str()).view(), "D:\\Game\\");
  // An existing directory comes back unchanged, with or without the backslash.
  EXPECT_EQ(DirectoryOfPath(Path("").c_str()).view(), Path(""));
  EXPECT_EQ(DirectoryOfPath(Path("\\").c_str()).view(), Path("\\"));
}

TEST_F(PathHelpers, SingleDirectoryCreationDoesNotMakeParents) {
  // What makes the next test's chain an observation of the creation order:
  // each directory can only be made after its parent.
  const rt::Bytes wide = ToWideText(Path("\\a\\b").c_str(), 936);
  rt::call_declared<int32_t>(rt::kDeclCreateDirectoryW,
                             reinterpret_cast<const char16_t*>(wide.data()),
                             static_cast<const void*>(nullptr));
  EXPECT_FALSE(fs::exists(dir / "a"));
}

TEST_F(PathHelpers, CreateDirectoryTreeMakesEachMissingPrefixInOrder) {
  const rt::Bytes wide = ToWideText(Path("\\new\\sub\\").c_str(), 936);
  CreateDirectoryTree(wide.get());
  EXPECT_TRUE(fs::is_directory(dir / "new" / "sub"));
  CreateDirectoryTree(wide.get());  // existing directories are harmless
  EXPECT_TRUE(fs::is_directory(dir / "new" / "sub"));

  const rt::Bytes noSlash = ToWideText(Path("\\p\\q\\r").c_str(), 936);
  CreateDirectoryTree(noSlash.get());
  EXPECT_TRUE(fs::is_directory(dir / "p" / "q" / "r"));
}

TEST_F(PathHelpers, CreateDirectoryTreeIgnoresPathsOfTwoCharacters) {
  const fs::path relative = "q7";
  ASSERT_FALSE(fs::exists(relative));
  const rt::Bytes wide = ToWideText("q7", 936);
  CreateDirectoryTree(wide.get());
  const bool created = fs::exists(relative);
  fs::remove(relative);
  EXPECT_FALSE(created);
  CreateDirectoryTree(nullptr);
}

TEST_F(PathHelpers, EnsureDirectoryMakesGbkNamesAndFailsBehindAFile) {
  const std::string chinese = Path("\\") + "新建"_t + "\\" + "乗"_t;
  EXPECT_TRUE(EnsureDirectory(chinese.c_str()));
  EXPECT_TRUE(fs::is_directory(dir / "新建/乗"));

  dir.Write("blocker", "file");
  EXPECT_FALSE(EnsureDirectory(Path("\\blocker\\sub").c_str()));
  EXPECT_FALSE(EnsureDirectory(""));
}

}  // namespace
}  // namespace vlmr::update
