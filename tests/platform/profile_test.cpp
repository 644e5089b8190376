#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

namespace fs = std::filesystem;

class ProfileTest : public testing::Test {
 protected:
  std::string File() const { return dir_.LauncherPath() + "\\\\LoginConfig.ini"; }
  std::string Read(const char* section, const char* key, const char* fallback = "dflt") const {
    return ReadProfileString(File(), section, key, fallback);
  }
  void Given(std::string_view content) const { dir_.Write("LoginConfig.ini", content); }
  std::string Content() const { return dir_.Read("LoginConfig.ini"); }
  size_t EntryCount() const {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()));
  }
  test::TempDir dir_;
};

TEST_F(ProfileTest, DefaultOnlyForAbsentFileSectionOrKey) {
  EXPECT_EQ(Read("Frame", "Model", "1  "), "1");  // no file; trailing blanks dropped
  Given("[Frame]\r\nModel=\r\nBare\r\n;Senior=5\r\n[Sound]\r\n");
  EXPECT_EQ(Read("Frame", "Model"), "");  // present but empty
  EXPECT_EQ(Read("Frame", "Bare"), "");   // a line without '='
  EXPECT_EQ(Read("Frame", "Senior"), "dflt");  // comments are no keys
  EXPECT_EQ(Read("Sound", "Music"), "dflt");
  EXPECT_EQ(Read("Font", "AttackFontType"), "dflt");
  EXPECT_EQ(Read("", "Model"), "");  // an empty section or key never gives the default
  EXPECT_EQ(Read("Frame", " \t"), "");
  EXPECT_EQ(ReadProfileString("", "Frame", "Model", "dflt"), "");
}

TEST_F(ProfileTest, MatchingIgnoresAsciiCaseAndBlanksButNotDoubleByteCharacters) {
  Given("\xEF\xBB\xBF[ Frame ]\nmodel = \"2 \" \n[Frame]\nmodel=9\n"
        "[\x81\x41]\nk=upper\n[Quote]\nk='x' ; kept\n");
  EXPECT_EQ(Read(" \tFRAME", "MODEL"), "2 ");  // first section and key win
  EXPECT_EQ(Read("\x81\x61", "k"), "dflt");     // 0x41/0x61 here are trail bytes
  EXPECT_EQ(Read("\x81\x41", "K"), "upper");
  EXPECT_EQ(Read("quote", "k"), "'x' ; kept");
}

TEST_F(ProfileTest, ResultIsCutBelowTheLimitWithoutSplittingACharacter) {
  Given("[S]\r\nascii=" + std::string(20000, 'v') + "\r\nwide=" + std::string(20000, '\xD6') +
        "\r\n");
  EXPECT_EQ(Read("S", "ascii").size(), kProfileResultLimit - 1);
  EXPECT_EQ(Read("S", "wide").size(), kProfileResultLimit - 2);
}

TEST_F(ProfileTest, FirstWritesCreateTheFileSectionBySection) {
  EXPECT_TRUE(WriteProfileString(File(), "Frame", "Model", "1"));
  EXPECT_TRUE(WriteProfileString(File(), "Frame", "ResolvingPower", "2"));
  EXPECT_TRUE(WriteProfileString(File(), "Sound", "Music", "0"));
  EXPECT_TRUE(WriteProfileString(File(), "Font", "AttackFontType", "1"));
  EXPECT_EQ(Content(),
            "[Frame]\r\nModel=1\r\nResolvingPower=2\r\n\r\n[Sound]\r\nMusic=0\r\n\r\n"
            "[Font]\r\nAttackFontType=1\r\n");
  EXPECT_EQ(Read("frame", "resolvingpower"), "2");
}

TEST_F(ProfileTest, ReplacesInPlaceAndKeepsEveryOtherLine) {
  Given("; top\n[Frame]\n  model = 0 \n; note\nOther=x\n\n[Sound]\nMusic=1");
  EXPECT_TRUE(WriteProfileString(File(), "FRAME", "Model", "1"));
  EXPECT_EQ(Content(), "; top\n[Frame]\nmodel=1\n; note\nOther=x\n\n[Sound]\nMusic=1");
}

TEST_F(ProfileTest, NewKeyFollowsTheLastKeyOfItsSection) {
  Given("[A]\r\nx=1\r\n; c\r\n\r\n[B]\r\ny=2");
  EXPECT_TRUE(WriteProfileString(File(), "a", "n", "3"));
  EXPECT_TRUE(WriteProfileString(File(), "B", "m", "4"));
  EXPECT_TRUE(WriteProfileString(File(), "C", "k", "5"));
  EXPECT_EQ(Content(), "[A]\r\nx=1\r\nn=3\r\n; c\r\n\r\n[B]\r\ny=2\r\nm=4\r\n\r\n[C]\r\nk=5\r\n");
}

TEST_F(ProfileTest, DeletesKeysAndSections) {
  Given("[A]\r\nx=1\r\ny=2\r\n[B]\r\n; gone too\r\nz=3\r\n[C]\r\n");
  EXPECT_TRUE(WriteProfileString(File(), "A", "x", nullptr));
  EXPECT_TRUE(WriteProfileString(File(), "b", nullptr, nullptr));
  EXPECT_EQ(Content(), "[A]\r\ny=2\r\n[C]\r\n");
  EXPECT_TRUE(WriteProfileString(dir_.LauncherPath() + "\\absent.ini", "A", "x", nullptr));
  EXPECT_FALSE(fs::exists(dir_ / "absent.ini"));
}

TEST_F(ProfileTest, RefusedWritesLeaveTheFileUntouched) {
  Given("[A]\r\nx=1\r\n");
  EXPECT_FALSE(WriteProfileString(File(), "A", "x", "1\r\n[B]"));
  EXPECT_FALSE(WriteProfileString(File(), "A", "x=y", "1"));
  EXPECT_FALSE(WriteProfileString(File(), "A]", "x", "1"));
  EXPECT_FALSE(WriteProfileString(File(), nullptr, "x", "1"));
  EXPECT_FALSE(WriteProfileString(dir_.LauncherPath() + "\\no\\such.ini", "A", "x", "1"));
  fs::permissions(dir_ / "LoginConfig.ini", fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_FALSE(WriteProfileString(File(), "A", "x", "2"));  // read-only, even for root
  EXPECT_EQ(Content(), "[A]\r\nx=1\r\n");
  EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind
}

TEST_F(ProfileTest, ConcurrentWritersLoseNoKey) {
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([this, t] {
      for (int i = 0; i < 10; ++i) {
        std::string key = "k" + std::to_string(t) + "_" + std::to_string(i);
        WriteProfileString(File(), "S", key.c_str(), "v");
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  for (int t = 0; t < 4; ++t) {
    for (int i = 0; i < 10; ++i) {
      std::string key = "k" + std::to_string(t) + "_" + std::to_string(i);
      EXPECT_EQ(Read("S", key.c_str()), "v") << key;
    }
  }
}

}  // namespace
}  // namespace vlmr::platform
