// The verified-state index and the file check that trusts it, on real files:
// the index vouches for a file only while its stamp is exactly the recorded
// one, never for a changed, replaced, truncated or freshly touched file, and
// never in another folder or when damaged.
#include "update/verified_state.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "platform/md5.h"
#include "support/temp_dir.h"
#include "update/file_check.h"

namespace vlmr::update {
namespace {

namespace fs = std::filesystem;

class VerifiedIndex : public testing::Test {
 protected:
  // Writes a file whose modification time lies an hour back, as game files' do.
  void WriteOld(const std::string& name, const std::string& content) {
    game.Write(name, content);
    fs::last_write_time(game / name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  CheckItem Item(const std::string& name, const std::string& content) {
    return {game.LauncherPath() + "\\" + name, platform::Md5UpperHex(content), name};
  }
  // Checks the file as recorded by an earlier run, with a freshly loaded index.
  CheckResult CheckAgainst(const VerifiedState& recorded, const CheckItem& item) {
    EXPECT_TRUE(recorded.Save());
    return CheckFile(item, VerifiedState::Load(game.LauncherPath()));
  }
  VerifiedState RecordedNow(const CheckItem& item) {
    VerifiedState state(game.LauncherPath());
    state.Record(item.key, *platform::StampOf(item.localPath), item.digest);
    return state;
  }

  test::TempDir game;
};

TEST_F(VerifiedIndex, VouchesForAnUnchangedFileWithoutReadingIt) {
  WriteOld("a.pak", "content");
  const CheckItem item = Item("a.pak", "content");
  const CheckResult result = CheckAgainst(RecordedNow(item), item);
  EXPECT_FALSE(result.outOfDate);
  EXPECT_FALSE(result.hashed);
  // A manifest naming another digest is not answered from the index.
  const CheckResult changedManifest = CheckFile(Item("a.pak", "other"), VerifiedState::Load(game.LauncherPath()));
  EXPECT_TRUE(changedManifest.outOfDate);
  EXPECT_TRUE(changedManifest.hashed);
}

TEST_F(VerifiedIndex, NeverVouchesForAChangedFile) {
  struct Case {
    const char* what;
    void (*change)(const test::TempDir&);
  };
  const Case cases[] = {
      {"rewritten, same size, time set back",
       [](const test::TempDir& g) {
         const auto time = fs::last_write_time(g / "a.pak");
         g.Write("a.pak", "CONTENT");
         fs::last_write_time(g / "a.pak", time);
       }},
      {"replaced by another file of the same size",
       [](const test::TempDir& g) {
         const auto time = fs::last_write_time(g / "a.pak");
         g.Write("b.pak", "CONTENT");
         fs::last_write_time(g / "b.pak", time);
         fs::rename(g / "b.pak", g / "a.pak");
       }},
      {"truncated", [](const test::TempDir& g) { fs::resize_file(g / "a.pak", 3); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteOld("a.pak", "content");
    const CheckItem item = Item("a.pak", "content");
    const VerifiedState recorded = RecordedNow(item);
    c.change(game);
    const CheckResult result = CheckAgainst(recorded, item);
    EXPECT_TRUE(result.hashed);
    EXPECT_TRUE(result.outOfDate);
  }
}

TEST_F(VerifiedIndex, AFileTouchedWithinTheGranularityOfItsRecordingIsReadAgain) {
  game.Write("fresh.pak", "content");  // modified just now, recorded just now
  const CheckItem item = Item("fresh.pak", "content");
  const CheckResult result = CheckAgainst(RecordedNow(item), item);
  EXPECT_TRUE(result.hashed);
  EXPECT_FALSE(result.outOfDate);
}

TEST_F(VerifiedIndex, AnIndexOfAnotherFolderOrADamagedOneVouchesForNothing) {
  WriteOld("a.pak", "content");
  const CheckItem item = Item("a.pak", "content");
  ASSERT_TRUE(RecordedNow(item).Save());
  ASSERT_EQ(VerifiedState::Load(game.LauncherPath()).LoadedCount(), 1u);
  const std::string index = game.Read(".vlmr/verified-state");

  test::TempDir copy;  // the same game copied elsewhere, index and all
  copy.Write(".vlmr/verified-state", index);
  EXPECT_EQ(VerifiedState::Load(copy.LauncherPath()).LoadedCount(), 0u);

  for (size_t at : {size_t{0}, size_t{9}, index.size() / 2, index.size() - 1}) {
    std::string damaged = index;
    damaged[at] ^= 0x20;
    game.Write(".vlmr/verified-state", damaged);
    EXPECT_EQ(VerifiedState::Load(game.LauncherPath()).LoadedCount(), 0u) << at;
  }
  game.Write(".vlmr/verified-state", index.substr(0, index.size() - 5));
  EXPECT_EQ(VerifiedState::Load(game.LauncherPath()).LoadedCount(), 0u);
}

TEST(FileCheck, ResultsComeInOrderWhateverTheCheckersDoAndStopLeavesNoThread) {
  test::TempDir game;
  std::vector<CheckItem> items;
  for (int i = 0; i < 300; ++i) {
    const std::string name = "f" + std::to_string(i);
    const std::string content = std::string(static_cast<size_t>(i) * 100, 'x') + name;
    game.Write(name, i % 3 == 0 ? "stale" : content);
    items.push_back({game.LauncherPath() + "\\" + name, platform::Md5UpperHex(content), name});
  }
  const VerifiedState none(game.LauncherPath());
  FileCheck check(items, none, 2);
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(check.Take(i).outOfDate, i % 3 == 0) << i;

  FileCheck stopped(items, none, 2);
  stopped.Stop();  // a failed run: the checkers end, what is taken is checked on the spot
  EXPECT_TRUE(stopped.Take(0).outOfDate);
  EXPECT_FALSE(stopped.Take(1).outOfDate);
}

}  // namespace
}  // namespace vlmr::update
