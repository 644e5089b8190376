// The client launch on Windows: the command line reaches the client exactly
// as built, two blanks included, and the client runs in the program directory.
#include <gtest/gtest.h>

#include "launch/launch_fixture.h"
#include "platform/native_path.h"

namespace vlmr::launch {
namespace {

TEST_F(LaunchClientTest, TheClientGetsTheCommandLineCharacterForCharacter) {
  SetRecord({2, 5, 0, 4, 0, 0});
  LaunchClient();
  const std::string record = test::ClientRecord(game_);
  EXPECT_EQ(record.substr(0, record.find('\n')),
            "CorvaneQXT.EXE  /USE_SERVER 1 /ADDR 61 /PORT 0 /FULLSCREEN 19201080 1"
            " /UseBlinearFiltering 1 /REFRESHRATE 72 /BGMOFF 1 /SEOFF 1");
  const std::string folder = record.substr(record.find('\n') + 1, record.rfind('\n') - record.find('\n') - 1);
  EXPECT_TRUE(fs::equivalent(fs::path(std::u8string(folder.begin(), folder.end())), game_.path())) << folder;
}

}  // namespace
}  // namespace vlmr::launch
