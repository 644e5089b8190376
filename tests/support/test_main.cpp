// Test entry. Death tests run in a fresh child ("threadsafe") because several
// suites start threads and servers. The run gets a temporary folder of its own
// (TMPDIR), removed at the end, so folders made by death-test children, which
// end without running destructors, do not stay behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "support/environment.h"
#include "support/temp_dir.h"

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

  const std::filesystem::path runFolder =
      vlmr::test::MakeUniqueFolder(std::filesystem::temp_directory_path(), "vlmr-run-");
  for (const char* variable : {"TMPDIR", "TMP", "TEMP"}) {  // POSIX's, then Windows'
    vlmr::test::SetEnvironment(variable, vlmr::test::Utf8Of(runFolder).c_str());
  }
  const int result = RUN_ALL_TESTS();
  std::error_code ec;
  std::filesystem::remove_all(runFolder, ec);
  return result;
}
