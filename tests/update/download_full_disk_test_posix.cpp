// A download onto a disk that refuses a block: the process's file size limit
// stands in for a full disk.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdlib>

#include "update/download_fixture.h"

namespace vlmr::update {
namespace {

// A disk that takes 40,000 bytes and no more: the file size limit of the
// process, with the signal it would raise ignored, so writes fail with EFBIG.
void DownloadOntoAFullDisk(const std::string& url, const std::string& localPath) {
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit{40000, 40000};
  setrlimit(RLIMIT_FSIZE, &limit);
  const int32_t result = DownloadFile(url.c_str(), localPath.c_str(), &RecordProgress, 0, false);
  std::exit(result == kDownloadWriteFailed && ResumeOffset == 36864 ? 0 : 1);
}

using DownloadDeathTest = Download;

TEST_F(DownloadDeathTest, ABlockTheDiskRefusesFailsTheDownloadWithoutABoxAndSaysWhy) {
  EXPECT_EXIT(DownloadOntoAFullDisk(server.Url("/game/data.pak"), LocalPath()), testing::ExitedWithCode(0),
              "update: writing .*data.pak failed: File too large");
}

}  // namespace
}  // namespace vlmr::update
