// A game file larger than 4 GiB, made by the test server as it is sent: the
// update run downloads it with 64-bit lengths and offsets, shows a
// percentage that climbs to 100, checks its digest and installs it. It needs
// about 5 GiB of free disk and half a minute; ctest labels it "large".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/update_run_fixture.h"

namespace vlmr::app {
namespace {

constexpr int64_t kSize = (int64_t{4} << 30) + 123457;  // past 4 GiB, not a block multiple
constexpr uint8_t kSeed = 'L';

std::string Md5OfGenerated(int64_t size, uint8_t seed) {
  platform::Md5Stream md5;
  std::string block(1 << 20, '\0');
  for (int64_t at = 0; at < size; at += static_cast<int64_t>(block.size())) {
    const auto n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(block.size()), size - at));
    test::FillTestBytes(block.data(), n, static_cast<uint64_t>(at), seed);
    md5.Update(block.data(), n);
  }
  uint8_t digest[16];
  md5.Final(digest);
  return platform::UpperHexDigest(digest);
}

// The numbers of "正在更新文件,N%" texts, in order.
std::vector<int> Percentages(const std::vector<std::string>& status) {
  std::vector<int> percentages;
  const std::string prefix = "正在更新文件,";
  for (const std::string& text : status) {
    if (text.rfind(prefix, 0) == 0) percentages.push_back(std::stoi(text.substr(prefix.size())));
  }
  return percentages;
}

using LargeFile = UpdateRunTest;

TEST_F(LargeFile, OverFourGibibytesIsDownloadedCheckedAndInstalled) {
  const auto space = fs::space(game_.path());
  if (space.available < static_cast<uintmax_t>(kSize) + (uintmax_t{1} << 30)) {
    GTEST_SKIP() << "needs " << (kSize >> 20) << " MiB of free disk";
  }
  server_.ServeGenerated("/files/huge", kSize, kSeed);
  ServeManifest("huge.pak\t" + Md5OfGenerated(kSize, kSeed) + "\t" + server_.Url("/files/huge") + "\r\n");
  UpdateRun(kNoManifestKey);
  EXPECT_EQ(fs::file_size(game_ / "huge.pak"), static_cast<uintmax_t>(kSize));  // installed: its digest matched
  EXPECT_FALSE(fs::exists(game_ / "huge.pak.vlmr-part"));
  const std::vector<int> percentages = Percentages(Texts(ids::kStatusLabel));
  ASSERT_FALSE(percentages.empty());
  EXPECT_TRUE(std::is_sorted(percentages.begin(), percentages.end()));
  EXPECT_GE(percentages.front(), 0);
  EXPECT_EQ(percentages.back(), 100);
  EXPECT_TRUE(ClientStarted());
}

}  // namespace
}  // namespace vlmr::app
