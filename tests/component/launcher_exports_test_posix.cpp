// The real launcher executable at start-up, with a library sharing its process
// (cache_exports_probe, loaded with LD_PRELOAD): the component is loaded before
// the first window, and the twelve exports serve a cache of each kind to code
// outside the executable. With nothing to load, the failure box ends the
// launcher with exit code 0 before any window.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/memcached_server.h"
#include "support/temp_dir.h"

extern char** environ;

namespace vlmr::test {
namespace {

namespace fs = std::filesystem;

struct LauncherRun {
  int exitCode = -1;
  std::string report;  // what the probe wrote; empty when it never ran
  std::string errors;  // the launcher's standard error
};

// Runs `launcher` with the probe and the environment changed by `changes`
// (an empty value removes a variable).
LauncherRun RunLauncher(const fs::path& launcher, const std::map<std::string, std::string>& changes) {
  TempDir outputs;
  std::map<std::string, std::string> variables;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    variables[entry.substr(0, entry.find('='))] = entry.substr(entry.find('=') + 1);
  }
  variables["SDL_VIDEODRIVER"] = "offscreen";
  variables["LD_PRELOAD"] = VLMR_CACHE_PROBE;
  variables["VLMR_PROBE_REPORT"] = (outputs / "report").string();
  // A sanitizer build wants its runtime first; the probe comes before it.
  variables["ASAN_OPTIONS"] += ":verify_asan_link_order=0";
  for (const auto& [name, value] : changes) variables[name] = value;
  std::vector<std::string> entries;
  for (const auto& [name, value] : variables) {
    if (!value.empty()) entries.push_back(name + "=" + value);
  }
  std::vector<char*> envp;
  for (std::string& entry : entries) envp.push_back(entry.data());
  envp.push_back(nullptr);

  const std::string program = launcher.string();
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 2, (outputs / "stderr").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  LauncherRun run;
  pid_t pid;
  if (posix_spawn(&pid, program.c_str(), &files, nullptr, argv, envp.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&files);
  run.report = outputs.Read("report");
  run.errors = outputs.Read("stderr");
  return run;
}

TEST(LauncherStart, TheTwelveExportsServeACacheOfEachKindToALibraryInTheProcess) {
  MemcachedServer server;
  ASSERT_TRUE(server.Started());
  TempDir runtime;
  const LauncherRun run = RunLauncher(VLMR_LAUNCHER, {{"XDG_RUNTIME_DIR", runtime.path().string()},
                                              {"VLMR_PROBE_MEMCACHED", server.Address()}});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  std::string expected =
      "window Vellmoor登录器\n"
      "module " + (runtime / "vlmr" / "TARNCore.2.7.2.dll").string() + "\n";
  for (const char* name : {"Get", "GetText", "Set", "SetText", "GetMulti", "GetMultiText",
                           "Exists", "Delete", "Clear", "Incr", "Decr", "SetExpire"}) {
    expected += std::string("export tarn_Cache") + name + " found\n";
  }
  for (const std::string kind : {"local", "memcached"}) {
    expected += kind + " create 1\n" +
                kind + " tarn_CacheSet 1\n" +
                kind + " tarn_CacheGet v1\n" +
                kind + " tarn_CacheSetText 1\n" +
                kind + " tarn_CacheGetText text\n" +
                kind + " tarn_CacheGetMulti k1=v1,k2=text\n" +
                kind + " tarn_CacheGetMultiText k2=text,k1=v1\n" +
                kind + " tarn_CacheExists 1\n" +
                kind + " tarn_CacheDelete 10\n" +
                kind + " tarn_CacheIncr 5\n" +
                kind + " tarn_CacheDecr 3\n" +
                kind + " tarn_CacheSetExpire 10\n" +
                kind + " tarn_CacheClear 10\n";
  }
  EXPECT_EQ(run.report, expected);
}

TEST(LauncherStart, WithNothingToLoadTheFailureBoxEndsItWithExitCodeZeroBeforeAnyWindow) {
  // A game folder that others may write, and no private folder to be had.
  TempDir game;
  fs::copy_file(VLMR_LAUNCHER, game / "vlmr-launcher");
  fs::permissions(game.path(), fs::perms::all);
  const LauncherRun run = RunLauncher(game / "vlmr-launcher",
                              {{"XDG_RUNTIME_DIR", ""}, {"TMPDIR", "/nonexistent/folder"}});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.report, "");  // the probe saw no window
  EXPECT_NE(run.errors.find("[TARN] 载入失败: ===================================="
                            "  = TARN2.7.2 加载失败  "),
            std::string::npos)
      << run.errors;
  EXPECT_FALSE(fs::exists(game / "TARNCore.2.7.2.dll"));
}

}  // namespace
}  // namespace vlmr::test
