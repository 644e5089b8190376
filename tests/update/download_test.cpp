// The resumable download against a real server on 127.0.0.1, with real files,
// through the declared-function table and the recording window system.
#include "update/download.h"

#include <gtest/gtest.h>

#include "update/download_fixture.h"

namespace vlmr::update {
namespace {

using namespace rt::literals;
using test::HttpFault;

TEST_F(Download, WritesTheFileAndReportsEveryBlock) {
  dir.Write("data.pak", "an older, longer file that must be replaced entirely .....");
  ASSERT_EQ(Get(), kDownloadDone);
  EXPECT_EQ(Local(), content);
  EXPECT_EQ(ResumeOffset, 100000);
  ASSERT_EQ(g_calls.size(), 3u);
  EXPECT_EQ(g_calls[0][0], 100000);
  EXPECT_EQ(g_calls[0][1], 36864);
  EXPECT_EQ(g_calls[1][1], 73728);
  EXPECT_EQ(g_calls[2][1], 100000);
  EXPECT_EQ(g_calls[2][3], 100000);
  for (const Call& c : g_calls) EXPECT_GT(c[2], 0);
  EXPECT_TRUE(BoxTexts().empty());

  auto requests = server.RequestsFor("/game/data.pak");
  ASSERT_EQ(requests.size(), 1u);
  std::string agent = requests[0].Header("User-Agent");
  EXPECT_TRUE(agent.starts_with("Agent") && agent.size() > 5 &&
              agent.find_first_not_of("0123456789", 5) == std::string::npos)
      << agent;
  EXPECT_FALSE(requests[0].HasHeader("Range"));
}

TEST_F(Download, ResumesAfterTheServerCutsTheBody) {
  content = test::TestBytes(300000);  // a longer file, so three blocks are not the whole of it
  server.Serve("/game/data.pak", content);
  server.QueueFault("/game/data.pak", HttpFault::CutAfter(3 * 36864));
  ASSERT_EQ(Get(), kDownloadReadFailed);
  EXPECT_EQ(ResumeOffset, 110592);
  EXPECT_EQ(Local().size(), 110592u);

  g_calls.clear();
  ASSERT_EQ(Get(ResumeOffset, true), kDownloadDone);
  EXPECT_EQ(Local(), content);
  EXPECT_EQ(ResumeOffset, 300000);
  auto requests = server.RequestsFor("/game/data.pak");
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Header("Range"), "bytes=110592-");
  ASSERT_FALSE(g_calls.empty());
  EXPECT_EQ(g_calls[0][0], 300000 - 110592);  // the remainder is announced
  EXPECT_EQ(g_calls[0][1], 110592 + 36864);
  EXPECT_EQ(g_calls[0][3], 36864);           // counted from this call's start
  EXPECT_EQ(g_calls.back()[3], 300000 - 110592);
}

TEST_F(Download, ACutInsideABlockKeepsWhatArrivedAndResumesFromThere) {
  server.QueueFault("/game/data.pak", HttpFault::CutAfter(50001));
  ASSERT_EQ(Get(), kDownloadReadFailed);
  EXPECT_EQ(ResumeOffset, 50001);
  EXPECT_EQ(Local(), content.substr(0, 50001));
  ASSERT_EQ(Get(ResumeOffset, true), kDownloadDone);
  EXPECT_EQ(Local(), content);
}

TEST_F(Download, TheResumeHeaderIsExactlyTheRangeLine) {
  EXPECT_EQ(ResumeHeader(1000).view(), "\r\nRange:bytes=1000-");
}

TEST_F(Download, AResumeAnsweredWithTheWholeFileRestartsFromZero) {
  dir.Write("data.pak", content.substr(0, 1000));
  server.QueueFault("/game/data.pak", HttpFault::IgnoreRange());
  ASSERT_EQ(Get(1000, true), kDownloadDone);
  EXPECT_EQ(Local(), content);  // not the first 1000 bytes twice
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(g_calls.back()[3], 100000);
}

TEST_F(Download, AResumeAnswered416OrWithAnotherRangeIsFetchedWholeAgain) {
  for (HttpFault fault : {HttpFault::RangeNotSatisfiable(), HttpFault::ContentRangeFrom(500)}) {
    dir.Write("data.pak", content.substr(0, 1000));
    server.QueueFault("/game/data.pak", fault);
    size_t before = server.Requests().size();
    ASSERT_EQ(Get(1000, true), kDownloadDone);
    EXPECT_EQ(Local(), content);
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), before + 2);
    EXPECT_EQ(requests[before].Header("Range"), "bytes=1000-");
    EXPECT_FALSE(requests[before + 1].HasHeader("Range"));
  }
}

TEST_F(Download, AResumeWhoseLocalFileDoesNotHoldTheOffsetStartsOver) {
  ASSERT_EQ(Get(1000, true), kDownloadDone);  // the file is missing
  EXPECT_EQ(Local(), content);
  dir.Write("data.pak", content.substr(0, 5000));  // longer than the offset
  ASSERT_EQ(Get(1000, true), kDownloadDone);
  EXPECT_EQ(Local(), content);
  for (const auto& r : server.Requests()) EXPECT_FALSE(r.HasHeader("Range"));
}

TEST_F(Download, FailuresBeforeTheBodyLeaveTheLocalFileAloneAndTellWhetherToTryAgain) {
  dir.Write("data.pak", "good old content");
  struct Case {
    const char* what;
    std::optional<HttpFault> fault;  // none: the server is stopped
    int32_t result;
    int32_t status;
    std::optional<std::chrono::seconds> retryAfter;
    bool box;
  };
  const Case cases[] = {
      {"404", HttpFault::Status(404, "<h1>Not Found</h1>"), kDownloadFailed, 404, {}, true},
      {"403", HttpFault::Status(403, "no"), kDownloadFailed, 403, {}, true},
      {"503", HttpFault::Status(503, "busy", 7), kDownloadServerBusy, 503, std::chrono::seconds(7), false},
      {"500", HttpFault::Status(500, "oops"), kDownloadServerBusy, 500, {}, false},
      {"408", HttpFault::Status(408, "slow"), kDownloadServerBusy, 408, {}, false},
      {"429", HttpFault::Status(429, "calm down", 2), kDownloadServerBusy, 429, std::chrono::seconds(2), false},
      {"refused", std::nullopt, kDownloadServerBusy, 0, {}, false},
  };
  const std::string url = server.Url("/game/data.pak");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const size_t boxesBefore = windows.Boxes().size();
    if (c.fault) server.QueueFault("/game/data.pak", *c.fault);
    else server.Stop();
    DownloadNotes notes;
    EXPECT_EQ(DownloadFile(url.c_str(), LocalPath().c_str(), &RecordProgress, 0, false, &notes), c.result);
    EXPECT_EQ(notes.status, c.status);
    EXPECT_EQ(notes.retryAfter, c.retryAfter);
    EXPECT_EQ(windows.Boxes().size() - boxesBefore, c.box ? 1u : 0u);
    EXPECT_EQ(Local(), "good old content");
  }
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"不能打开该URL!"_t, "不能打开该URL!"_t}));
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(Download, ANameThatDoesNotResolveIsNotTriedAgain) {
  EXPECT_EQ(DownloadFile("http://no-such-host.invalid/x", LocalPath().c_str(), &RecordProgress, 0, false),
            kDownloadFailed);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"不能打开该URL!"_t});
  EXPECT_EQ(windows.Boxes()[0].caption, "信息："_t);
}

TEST_F(Download, ALocalFileThatCannotBeOpenedFails) {
  std::string inMissingFolder = dir.LauncherPath() + "\\no\\such\\folder\\data.pak";
  EXPECT_EQ(DownloadFile(server.Url("/game/data.pak").c_str(), inMissingFolder.c_str(),
                         &RecordProgress, 0, false),
            kDownloadFailed);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"不能打开本地的文件!"_t});
}

TEST_F(Download, WithoutContentLengthTheFirstEmptyReadEndsTheTransfer) {
  server.QueueFault("/game/data.pak", HttpFault::CloseDelimited());
  ASSERT_EQ(DownloadFile(server.Url("/game/data.pak").c_str(), LocalPath().c_str(),
                         &ShowUpdateProgress, 0, false),
            kDownloadDone);
  EXPECT_EQ(Local(), content);
  EXPECT_EQ(windows.StoredText(ids::kLauncherWindow, ids::kStatusLabel, ids::kSlotText),
            "正在更新文件,0%"_t);
}

TEST_F(Download, ABodyShorterThanAnnouncedIsAReadFailure) {
  server.Serve("/short", "twelve bytes");
  server.QueueFault("/short", HttpFault::AnnounceLength(5000));
  EXPECT_EQ(Get(0, false, "/short"), kDownloadReadFailed);
  EXPECT_EQ(ResumeOffset, 12);
  EXPECT_EQ(Local(), "twelve bytes");
}

TEST_F(Download, ProgressShowsTheTruncatedPercentOfThisCall) {
  auto label = [&] {
    return windows.StoredText(ids::kLauncherWindow, ids::kStatusLabel, ids::kSlotText);
  };
  ShowUpdateProgress(3, 999, 10, 2);
  EXPECT_EQ(label(), "正在更新文件,66%"_t);
  ShowUpdateProgress(100000, 0, 10, 100000);
  EXPECT_EQ(label(), "正在更新文件,100%"_t);
  ShowUpdateProgress(0, 0, 10, 500);
  EXPECT_EQ(label(), "正在更新文件,0%"_t);
  ShowUpdateProgress(static_cast<intptr_t>(uint32_t{3000000000u}), 0, 10, 1500000000);
  EXPECT_EQ(label(), "正在更新文件,50%"_t);  // the announced length is unsigned
}

}  // namespace
}  // namespace vlmr::update
