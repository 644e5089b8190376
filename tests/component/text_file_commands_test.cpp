// The text-file commands against real files, called as the launcher calls
// them (through their entry points, bound to the loaded module): encoding
// detection on reading, whole-file replacement on writing, and byte-exact
// round trips.
#include "component/text_file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/rt_heap.h"
#include "support/server_suite.h"
#include "support/temp_dir.h"

namespace vlmr::component {
namespace {

namespace fs = std::filesystem;

// "中文" in each encoding.
const std::string kGbkChinese = "\xD6\xD0\xCE\xC4";
const std::string kUtf8Chinese = "\xE4\xB8\xAD\xE6\x96\x87";

class TextFileCommands : public testing::Test {
 protected:
  TextFileCommands() { test::LoadServerSuite(); }

  std::string PathOf(std::string_view name) const {
    return dir_.LauncherPath() + "\\" + std::string(name);
  }

  // Reads through the command with the encoding variable; returns the text and
  // leaves the name in encoding_.
  std::string Read(std::string_view name) {
    rt::Text text = cmd::ReadStringFile(PathOf(name).c_str(), &encoding_);
    return std::string(text.view());
  }
  std::string EncodingFound() const { return std::string(rt::TextView(encoding_)); }

  void TearDown() override { rt::rt_free(encoding_); }

  test::TempDir dir_;
  char* encoding_ = nullptr;
};

TEST_F(TextFileCommands, DetectsEachEncodingAndReturnsGbkWithLineBreaksUnchanged) {
  struct Case {
    const char* expectedName;
    std::string fileBytes;
  };
  const Case cases[] = {
      {"GBK", kGbkChinese + "\r\nA=1\r\n"},
      {"UTF-8", kUtf8Chinese + "\r\nA=1\r\n"},
      {"UTF-8-BOM", "\xEF\xBB\xBF" + kUtf8Chinese + "\r\nA=1\r\n"},
      {"UTF-16LE", std::string("\xFF\xFE\x2D\x4E\x87\x65\r\0\n\0A\0=\0"
                               "1\0\r\0\n\0",
                               20)},
      {"UTF-16BE", std::string("\xFE\xFF\x4E\x2D\x65\x87\0\r\0\n\0A\0=\0"
                               "1\0\r\0\n",
                               20)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expectedName);
    dir_.Write("file.txt", c.fileBytes);
    EXPECT_EQ(Read("file.txt"), kGbkChinese + "\r\nA=1\r\n");
    EXPECT_EQ(EncodingFound(), c.expectedName);
  }
}

TEST_F(TextFileCommands, PlainAsciiAndMalformedUtf8ReadAsGbkBytes) {
  dir_.Write("ascii.ini", "[a]\nkey=1\r\n");
  EXPECT_EQ(Read("ascii.ini"), "[a]\nkey=1\r\n");
  EXPECT_EQ(EncodingFound(), "GBK");

  const std::string notUtf8 = "x\xE4\xB8" + kGbkChinese;  // a cut-off UTF-8 sequence
  dir_.Write("mixed.ini", notUtf8);
  EXPECT_EQ(Read("mixed.ini"), notUtf8);
  EXPECT_EQ(EncodingFound(), "GBK");
}

TEST_F(TextFileCommands, MissingFileOrDirectoryGivesTheEmptyText) {
  encoding_ = rt::NewText("stale");
  rt::Text missing = cmd::ReadStringFile(PathOf("absent.ini").c_str(), &encoding_);
  EXPECT_EQ(missing.get(), nullptr);
  EXPECT_EQ(EncodingFound(), "GBK");

  fs::create_directory(dir_ / "folder");
  EXPECT_EQ(cmd::ReadStringFile(PathOf("folder").c_str()).get(), nullptr);
  EXPECT_EQ(cmd::ReadStringFile(nullptr).get(), nullptr);
}

TEST_F(TextFileCommands, ContentWithAZeroCharacterIsNotCutShortButReadsEmpty) {
  dir_.Write("nul.ini", std::string("line1\r\nline2\0tail\r\nline3", 24));
  EXPECT_EQ(Read("nul.ini"), "");
  // UTF-16 without a mark is taken as GBK and holds zero bytes.
  dir_.Write("utf16.ini", std::string("A\0\r\0\n\0B\0", 8));
  EXPECT_EQ(Read("utf16.ini"), "");
}

TEST_F(TextFileCommands, FileNameMatchesWithoutRegardToCase) {
  dir_.Write("CORVANE.ini", "line\r\n");
  EXPECT_EQ(Read("Corvane.INI"), "line\r\n");
  EXPECT_TRUE(cmd::WriteStringFile(PathOf("corvane.INI").c_str(), "new"));
  EXPECT_EQ(dir_.Read("CORVANE.ini"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()), 1);  // no second file
}

TEST_F(TextFileCommands, GbkAndAsciiFilesWrittenBackKeepEveryByte) {
  // Odd bytes included: a lone 0x80, a lead byte before a line break, a bare LF.
  const std::string original = "[Screen]\r\n" + kGbkChinese + "=\x80\r\n\xFE\r\n\r\nlast\nno break";
  dir_.Write("config.ini", original);
  const std::string text = Read("config.ini");
  ASSERT_EQ(text, original);
  EXPECT_TRUE(cmd::WriteStringFile(PathOf("config.ini").c_str(), text.c_str()));
  EXPECT_EQ(dir_.Read("config.ini"), original);
}

TEST_F(TextFileCommands, WriteReplacesTheWholeFileOrCreatesIt) {
  dir_.Write("long.txt", std::string(1000, 'x'));
  EXPECT_TRUE(cmd::WriteStringFile(PathOf("long.txt").c_str(), "short"));
  EXPECT_EQ(dir_.Read("long.txt"), "short");

  EXPECT_TRUE(cmd::WriteStringFile(PathOf("new.txt").c_str(), "created"));
  EXPECT_EQ(dir_.Read("new.txt"), "created");

  EXPECT_TRUE(cmd::WriteStringFile(PathOf("empty.txt").c_str(), nullptr));
  EXPECT_TRUE(fs::exists(dir_ / "empty.txt"));
  EXPECT_EQ(fs::file_size(dir_ / "empty.txt"), 0u);
}

TEST_F(TextFileCommands, WritesEachNamedEncodingWithItsMark) {
  const std::string text = kGbkChinese + "\r\nA";
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"gbk", text},
      {"UTF-8", kUtf8Chinese + "\r\nA"},
      {"utf-8-bom", "\xEF\xBB\xBF" + kUtf8Chinese + "\r\nA"},
      {"UTF-16LE", std::string("\xFF\xFE\x2D\x4E\x87\x65\r\0\n\0A\0", 12)},
      {"UTF-16BE", std::string("\xFE\xFF\x4E\x2D\x65\x87\0\r\0\n\0A", 12)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(cmd::WriteStringFile(PathOf("out.txt").c_str(), text.c_str(), c.name));
    EXPECT_EQ(dir_.Read("out.txt"), c.bytes);
    EXPECT_EQ(Read("out.txt"), text);
  }
}

TEST_F(TextFileCommands, CharactersOutsideGbkSurviveAReadAndWriteBack) {
  // U+1F600 and U+20AC have no two-byte GBK code; the text carries their
  // four-byte GB18030 codes and the write restores them.
  const std::string utf8 =
      "\xEF\xBB\xBF"
      "a\xF0\x9F\x98\x80"
      "b\xE2\x82\xAC\r\n" +
      kUtf8Chinese;
  dir_.Write("wide.ini", utf8);
  const std::string text = Read("wide.ini");
  ASSERT_EQ(EncodingFound(), "UTF-8-BOM");
  EXPECT_TRUE(cmd::WriteStringFile(PathOf("wide.ini").c_str(), text.c_str(), encoding_));
  EXPECT_EQ(dir_.Read("wide.ini"), utf8);
}

TEST_F(TextFileCommands, FailedWriteLeavesTheOldFileIntact) {
  dir_.Write("locked.ini", "old content");
  fs::permissions(dir_ / "locked.ini",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(cmd::WriteStringFile(PathOf("locked.ini").c_str(), "new"));
  EXPECT_EQ(dir_.Read("locked.ini"), "old content");

  dir_.Write("sealed/file.ini", "sealed content");
  fs::permissions(dir_ / "sealed",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const bool written = cmd::WriteStringFile(PathOf("sealed\\file.ini").c_str(), "new");
  // Root on POSIX, and everyone on Windows, may create files in such a folder.
  const bool folderRefusesFiles = !std::ofstream(dir_ / "sealed" / "probe");
  if (folderRefusesFiles) {
    EXPECT_FALSE(written);
    EXPECT_EQ(dir_.Read("sealed/file.ini"), "sealed content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "sealed"), fs::directory_iterator()), 1);
  }

  dir_.Write("plain.ini", "plain content");
  EXPECT_FALSE(cmd::WriteStringFile(PathOf("plain.ini").c_str(), "new", "EBCDIC"));
  EXPECT_EQ(dir_.Read("plain.ini"), "plain content");

  fs::create_directory(dir_ / "folder");
  EXPECT_FALSE(cmd::WriteStringFile(PathOf("folder").c_str(), "new"));
  EXPECT_FALSE(cmd::WriteStringFile(PathOf("no\\such\\folder\\x.ini").c_str(), "new"));
  EXPECT_FALSE(fs::exists(dir_ / "no"));
}

}  // namespace
}  // namespace vlmr::component
