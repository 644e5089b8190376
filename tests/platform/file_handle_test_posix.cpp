// A write the system refuses part-way (the process's file size limit, as a
// full disk would): the file's position goes back to where the write began.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>

#include "platform/file_handle.h"
#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

TEST(FileHandle, FailedWriteReturnsToWhereItBegan) {
  test::TempDir dir;
  std::string path = dir.LauncherPath() + "\\limited";
  auto writeBeyondLimit = [&path] {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{10, 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    FileHandle file = FileHandle::Open(path, OpenMode::CreateTruncate, Sharing::None);
    bool firstWritten = file.Write("abcd", 4);
    bool secondFailed = !file.Write("0123456789abcdefghij", 20);
    std::exit(firstWritten && secondFailed && file.Position() == 4 ? 0 : 1);
  };
  EXPECT_EXIT(writeBeyondLimit(), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vlmr::platform
