// Test entry. Death tests run in a fresh child ("threadsafe") because several
// suites start threads and servers. The run gets a temporary folder of its own
// (TMPDIR), removed at the end, so folders made by death-test children, which
// end without running destructors, do not stay behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

bool IsDeathTestChild(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]).rfind("--gtest_internal_run_death_test", 0) == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const bool child = IsDeathTestChild(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (child) return RUN_ALL_TESTS();

  std::string runFolder = (std::filesystem::temp_directory_path() / "vlmr-run-XXXXXX").string();
  const bool haveFolder = mkdtemp(runFolder.data()) != nullptr;
  if (haveFolder) setenv("TMPDIR", runFolder.c_str(), 1);
  int result = RUN_ALL_TESTS();
  if (haveFolder) {
    std::error_code ec;
    std::filesystem::remove_all(runFolder, ec);
  }
  return result;
}
