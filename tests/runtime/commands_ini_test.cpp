// INI item commands on real files.
#include <gtest/gtest.h>

#include <string>

#include "runtime/commands.h"
#include "support/temp_dir.h"

namespace vlmr::rt {
namespace {

class IniCommands : public testing::Test {
 protected:
  void SetUp() override {
    dir.Write("set.ini", "[Frame]\r\nWidth=1024\r\nBlank=\r\n[Sound]\r\nMusic=1\r\n");
    file = dir.LauncherPath() + "\\set.ini";
  }
  Text Read(const char* section, const char* key, const char* fallback = nullptr) {
    return cmd::ReadIniItem(file.c_str(), section, key, fallback);
  }
  test::TempDir dir;
  std::string file;
};

TEST_F(IniCommands, EmptySectionOrKeyGivesTheEmptyTextEvenWithADefault) {
  EXPECT_EQ(Read("Frame", "Width").view(), "1024");
  EXPECT_TRUE(Read("", "Width", "dflt").empty());
  EXPECT_TRUE(Read("Frame", nullptr, "dflt").empty());
  EXPECT_TRUE(Read(" \t", "Width", "dflt").empty());  // only blanks: empty after skipping
  EXPECT_TRUE(cmd::ReadIniItem(nullptr, "Frame", "Width", "dflt").empty());
}

TEST_F(IniCommands, LeadingBlanksOfFileSectionAndKeyAreSkipped) {
  const std::string spaced = "  " + file;
  EXPECT_EQ(cmd::ReadIniItem(spaced.c_str(), "\tFrame", " Width").view(), "1024");
}

TEST_F(IniCommands, DefaultOnlyForAnAbsentKeyNotForAPresentEmptyOne) {
  EXPECT_TRUE(Read("Frame", "Blank", "dflt").empty());
  EXPECT_EQ(Read("Frame", "Missing", "dflt").view(), "dflt");
  EXPECT_TRUE(Read("Frame", "Missing").empty());  // default omitted
}

TEST_F(IniCommands, WriteReplacesAndOmittedArgumentsDelete) {
  EXPECT_TRUE(cmd::WriteIniItem(file.c_str(), "Frame", "Width", "800"));
  EXPECT_EQ(Read("Frame", "Width").view(), "800");
  EXPECT_TRUE(cmd::WriteIniItem(file.c_str(), "Frame", "Width"));  // value omitted
  EXPECT_EQ(Read("Frame", "Width", "gone").view(), "gone");
  EXPECT_EQ(Read("Frame", "Blank", "x").view(), "");
  EXPECT_TRUE(cmd::WriteIniItem(file.c_str(), "Sound"));  // key omitted
  EXPECT_EQ(Read("Sound", "Music", "gone").view(), "gone");
  EXPECT_TRUE(cmd::WriteIniItem(file.c_str(), "Frame", "Empty", ""));
  EXPECT_EQ(Read("Frame", "Empty", "x").view(), "");
}

}  // namespace
}  // namespace vlmr::rt
