// Files only the user controls, on real folders: where the private folder
// is, when it is refused, and writing a private file. (Which files are
// trusted: tests/component/component_loader_test.cpp.)
#include "platform/private_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace vlmr::platform {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the test's length (unset: nullptr).
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

const std::string kOwnName = "vlmr-" + std::to_string(geteuid());

TEST(PrivateFolder, IsInTheSessionRuntimeFolderOrElseInTheTemporaryFolder) {
  test::TempDir runtime, temporary;
  ScopedVariable tmp("TMPDIR", temporary.path().c_str());
  std::string why;
  {
    ScopedVariable xdg("XDG_RUNTIME_DIR", runtime.path().c_str());
    EXPECT_EQ(UserPrivateFolder(&why), runtime / "vlmr");
    fs::permissions(runtime.path(), fs::perms::owner_all | fs::perms::others_read);
    EXPECT_EQ(UserPrivateFolder(&why), temporary / kOwnName);  // others may look in: not used
  }
  ScopedVariable xdg("XDG_RUNTIME_DIR", nullptr);
  fs::permissions(temporary / kOwnName, fs::perms::all);
  EXPECT_EQ(UserPrivateFolder(&why), temporary / kOwnName);
  EXPECT_EQ(fs::status(temporary / kOwnName).permissions(), fs::perms::owner_all);  // closed again
}

TEST(PrivateFolder, AFolderOfThatNameThatIsNotTheUsersIsRefused) {
  test::TempDir temporary, elsewhere;
  ScopedVariable tmp("TMPDIR", temporary.path().c_str());
  ScopedVariable xdg("XDG_RUNTIME_DIR", nullptr);
  std::string why;
  fs::create_directory_symlink(elsewhere.path(), temporary / kOwnName);
  EXPECT_EQ(UserPrivateFolder(&why), std::nullopt);
  EXPECT_NE(why.find("is not a folder"), std::string::npos) << why;
  if (geteuid() != 0) GTEST_SKIP() << "planting a folder for another user needs root";
  fs::remove(temporary / kOwnName);
  fs::create_directory(temporary / kOwnName);
  ASSERT_EQ(chown((temporary / kOwnName).c_str(), 1234, 1234), 0);
  EXPECT_EQ(UserPrivateFolder(&why), std::nullopt);
  EXPECT_NE(why.find("belongs to another user (uid 1234)"), std::string::npos) << why;
}

TEST(PrivateFile, IsWrittenWholeForTheUserAloneInOneStep) {
  test::TempDir dir;
  std::string why;
  dir.Write("module", "old content");
  ASSERT_TRUE(WritePrivateFile(dir / "module", "new", &why)) << why;
  EXPECT_EQ(dir.Read("module"), "new");
  EXPECT_EQ(fs::status(dir / "module").permissions(), fs::perms::owner_all);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  EXPECT_FALSE(WritePrivateFile(dir / "missing" / "module", "new", &why));
  EXPECT_EQ(why, "No such file or directory");
}

}  // namespace
}  // namespace vlmr::platform
