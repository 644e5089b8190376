// Loading the component's module from real files: each candidate in its
// order, the carried module unpacked into the private folder, damaged and
// untrusted candidates skipped with their reasons, the failure box and exit
// code 0 when nothing loads, and the written file deleted at the end.
#include "component/component_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "component/embedded_module.h"
#include "component/module_unpacking.h"
#include "runtime/rt_blocks.h"
#include "runtime/runtime_frame.h"
#include "support/server_suite.h"
#include "support/temp_dir.h"

namespace vlmr::component {
namespace {

namespace fs = std::filesystem;

const std::string& Module() {
  static const std::string module = UnpackModule(EmbeddedPackedModule());
  return module;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

class ComponentLoader : public testing::Test {
 protected:
  ComponentLoader() {
    places_.currentFolder = program_.path();
    places_.privateFolder = private_.path();
    places_.packedModule = EmbeddedPackedModule();
  }
  ~ComponentLoader() override {
    for (LoadedModule& module : loaded_) UnloadComponentModule(module);
  }

  // "program/NAME" or "private/NAME" to a real path.
  fs::path At(const std::string& place) const {
    const bool inProgram = place.rfind("program/", 0) == 0;
    return (inProgram ? program_.path() : private_.path()) / place.substr(place.find('/') + 1);
  }
  void Place(const std::string& place, const std::string& bytes = Module()) {
    std::FILE* file = std::fopen(At(place).c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    fs::permissions(At(place), fs::perms::owner_all);
  }
  LoadedModule Load() {
    loaded_.push_back(LoadComponentModule(places_, &failure_));
    return loaded_.back();
  }
  // The module answers: ReadStringFile through its own table.
  bool Works(const LoadedModule& module) {
    if (module.origin == ModuleOrigin::None) return false;
    module.notify(rt::kNotifyRuntimeCallback, reinterpret_cast<intptr_t>(&rt::notify_runtime), 0);
    program_.Write("probe.txt", "line\r\n");
    const std::string path = program_.LauncherPath() + "\\probe.txt";
    rt::RtValue arg = rt::RtValue::Text(path.c_str());
    rt::RtValue result{};
    module.commands[kReadStringFileNumber](&result, 1, &arg);
    const rt::Text text(result.AsPointer<char>());
    return text.view() == "line\r\n";
  }

  test::TempDir program_;
  test::TempDir private_;
  LoaderPlaces places_;
  LoadFailure failure_;
  std::vector<LoadedModule> loaded_;
};

TEST_F(ComponentLoader, TakesTheFirstCandidateThatExistsAndTouchesNothingElse) {
  struct Case {
    std::vector<std::string> present;
    std::string taken;
  };
  const Case cases[] = {
      {{"program/TARNCore.2.7.2.dll", "program/TARN.dll"}, "program/TARNCore.2.7.2.dll"},
      {{"program/TARN.dll", "program/TARN.fne", "private/TARNCore.2.7.2.dll"}, "program/TARN.dll"},
      {{"program/TARN.fne", "private/TARNCore.2.7.2.dll"}, "program/TARN.fne"},
      {{"private/TARNCore.2.7.2.dll"}, "private/TARNCore.2.7.2.dll"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.taken);
    for (const std::string& place : c.present) Place(place);
    const LoadedModule module = Load();
    EXPECT_EQ(module.origin, ModuleOrigin::FoundOnDisk);
    EXPECT_EQ(module.path, At(c.taken));
    EXPECT_TRUE(Works(module));
    UnloadComponentModule(loaded_.back());
    EXPECT_TRUE(fs::exists(At(c.taken)));  // found on disk: left in place
    for (const std::string& place : c.present) fs::remove(At(place));
    fs::remove(program_ / "probe.txt");
    EXPECT_TRUE(FilesIn(private_.path()).empty());
  }
}

TEST_F(ComponentLoader, UnpacksTheCarriedModuleIntoThePrivateFolder) {
  const LoadedModule module = Load();
  EXPECT_EQ(module.origin, ModuleOrigin::WrittenByLoader);
  EXPECT_EQ(module.path, At("private/TARNCore.2.7.2.dll"));
  EXPECT_EQ(test::ReadFileBytes(module.path), Module());
  EXPECT_EQ(fs::status(module.path).permissions(), fs::perms::owner_all);
  EXPECT_EQ(FilesIn(private_.path()), std::vector<std::string>{"TARNCore.2.7.2.dll"});
  EXPECT_TRUE(Works(module));
  UnloadComponentModule(loaded_.back());
  EXPECT_FALSE(fs::exists(At("private/TARNCore.2.7.2.dll")));  // the loader's own file goes
}

TEST_F(ComponentLoader, SkipsDamagedCandidatesAndKeepsTheirReasons) {
  Place("program/TARN.dll", "not a module");
  Place("program/TARN.fne", Module().substr(0, 4096));  // cut short
  Place("private/TARNCore.2.7.2.dll", Module().substr(0, 4096));
  testing::internal::CaptureStderr();
  const LoadedModule module = Load();
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_NE(told.find(At("program/TARN.dll").string() + ": "), std::string::npos) << told;
  EXPECT_NE(told.find(At("program/TARN.fne").string() + ": the file is cut short"), std::string::npos) << told;
  EXPECT_EQ(failure_, ModuleDidNotLoad(At("program/TARN.fne"), true));
  // The private folder's copy is the loader's own: one that is not the
  // carried module is not tried but replaced by it.
  EXPECT_EQ(told.find(At("private/TARNCore.2.7.2.dll").string()), std::string::npos) << told;
  EXPECT_EQ(module.origin, ModuleOrigin::WrittenByLoader);
  EXPECT_EQ(test::ReadFileBytes(At("private/TARNCore.2.7.2.dll")), Module());
  EXPECT_TRUE(Works(module));

  fs::remove(At("private/TARNCore.2.7.2.dll"));
  Place("private/TARNCore.2.7.2.dll");
  Place("program/TARN.fne", "");
  EXPECT_EQ(Load().path, At("private/TARNCore.2.7.2.dll"));
  EXPECT_EQ(failure_, ModuleDidNotLoad(At("program/TARN.fne"), true));
}

TEST_F(ComponentLoader, RefusesFilesAnotherUserCouldHavePlantedOrChanged) {
  struct Case {
    const char* what;
    void (*spoil)(const fs::path& file);
  };
  const Case cases[] = {
      {"owned by another user", [](const fs::path& f) { ASSERT_EQ(chown(f.c_str(), 1234, 1234), 0); }},
      {"writable by others", [](const fs::path& f) { fs::permissions(f, fs::perms::all); }},
      {"writable by its group",
       [](const fs::path& f) { fs::permissions(f, fs::perms::group_write, fs::perm_options::add); }},
      {"not a regular file", [](const fs::path& f) { fs::remove(f), fs::create_directory(f); }},
      {"in a folder others may write",
       [](const fs::path& f) { fs::permissions(f.parent_path(), fs::perms::all); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (geteuid() != 0 && std::string(c.what) == "owned by another user") continue;
    Place("program/TARNCore.2.7.2.dll");
    c.spoil(At("program/TARNCore.2.7.2.dll"));
    testing::internal::CaptureStderr();
    const LoadedModule module = Load();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("refused: "), std::string::npos);
    EXPECT_EQ(failure_, ModuleNotTrusted(At("program/TARNCore.2.7.2.dll")));
    EXPECT_EQ(module.path, At("private/TARNCore.2.7.2.dll"));
    fs::permissions(program_.path(), fs::perms::owner_all);
    fs::remove_all(At("program/TARNCore.2.7.2.dll"));
    UnloadComponentModule(loaded_.back());
  }
}

TEST_F(ComponentLoader, WritesToTheProgramFolderWhenThePrivateFolderFailsOrItsFileWillNotLoad) {
  const fs::path openToAll = private_ / "open";
  fs::create_directory(openToAll);
  fs::permissions(openToAll, fs::perms::all);  // written there, then refused to load
  for (std::optional<fs::path> privateFolder :
       {std::optional<fs::path>(), std::optional(private_ / "missing"), std::optional(openToAll)}) {
    places_.privateFolder = privateFolder;
    const LoadedModule module = Load();
    EXPECT_EQ(module.origin, ModuleOrigin::WrittenByLoader);
    EXPECT_EQ(module.path, At("program/TARNCore.2.7.2.dll"));
    EXPECT_TRUE(Works(module));
    UnloadComponentModule(loaded_.back());
    EXPECT_FALSE(fs::exists(At("program/TARNCore.2.7.2.dll")));
    EXPECT_FALSE(fs::exists(openToAll / "TARNCore.2.7.2.dll"));
  }
}

TEST_F(ComponentLoader, SaysWhyWhenNothingLoads) {
  places_.packedModule = {};
  EXPECT_EQ(Load().origin, ModuleOrigin::None);
  EXPECT_EQ(failure_, NoPackedModule());

  places_.packedModule = EmbeddedPackedModule();
  places_.privateFolder = private_ / "missing";
  places_.currentFolder = program_ / "missing";
  EXPECT_EQ(Load().origin, ModuleOrigin::None);
  EXPECT_EQ(failure_, ModuleNotWritten(program_ / "missing" / "TARNCore.2.7.2.dll"));

  places_.privateFolder.reset();
  places_.currentFolder = program_.path();
  fs::permissions(program_.path(), fs::perms::all);
  EXPECT_EQ(Load().origin, ModuleOrigin::None);
  EXPECT_EQ(failure_, ModuleNotTrusted(At("program/TARNCore.2.7.2.dll")));
  EXPECT_FALSE(fs::exists(At("program/TARNCore.2.7.2.dll")));  // what it wrote is gone
}

TEST(ServerSuiteStart, NothingToLoadShowsTheFailureBoxAndEndsWithExitCodeZero) {
  test::TempDir program;
  fs::permissions(program.path(), fs::perms::all);  // others may write: nothing loads there
  EXPECT_EXIT(
      {
        fs::current_path(program.path());
        unsetenv("XDG_RUNTIME_DIR");
        setenv("TMPDIR", "/nonexistent/folder", 1);
        test::LoadServerSuite();
        std::exit(3);
      },
      testing::ExitedWithCode(0),
      "\\[TARN\\] 载入失败: =+  = TARN2\\.7\\.2 加载失败  =+  "
      "\\[原因\\] TARN库文件不安全.*\\[路径\\] .*TARNCore\\.2\\.7\\.2\\.dll  \\[解决\\] ");
}

TEST(ServerSuiteStart, IgnoresAddressesInTheEnvironmentAndDeletesTheFileItWroteAtTheEnd) {
  // The death test's child runs this test again: the folder must be the same
  // one for both, so it is named in the run's own temporary folder.
  const fs::path runtime = fs::temp_directory_path() / "session-runtime";
  fs::create_directory(runtime);
  fs::permissions(runtime, fs::perms::owner_all);
  const fs::path written = runtime / "vlmr" / "TARNCore.2.7.2.dll";
  EXPECT_EXIT(
      {
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        // Entry addresses in the environment are never taken (calling them
        // would crash this child).
        setenv(("qx_pnl_" + std::to_string(getpid())).c_str(), "4660", 1);
        setenv(("qx_gni_" + std::to_string(getpid())).c_str(), "4661", 1);
        test::LoadServerSuite();
        if (!fs::exists(written)) std::exit(3);
        rt::end_program(0);
      },
      testing::ExitedWithCode(0), "");
  EXPECT_TRUE(fs::is_directory(runtime / "vlmr"));
  EXPECT_FALSE(fs::exists(written));
}

}  // namespace
}  // namespace vlmr::component
