#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/codepage.h"
#include "platform/name_matching.h"
#include "platform/native_path.h"

extern char** environ;

#if defined(__GLIBC__) && (__GLIBC__ < 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ < 24))
#error "posix_spawn must report exec failures (glibc 2.24 or later)"
#endif

namespace vlmr::platform {
namespace {

std::mutex g_lookupMutex;
std::string g_programDirectory;

bool Fail(std::string* why, std::string reason) {
  if (why != nullptr) *why = std::move(reason);
  return false;
}

enum class ProgramKind { Native, Windows, NotRunnable };

ProgramKind Classify(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return ProgramKind::NotRunnable;
  char magic[2] = {};
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    bool isWindows = read(fd, magic, 2) == 2 && magic[0] == 'M' && magic[1] == 'Z';
    close(fd);
    if (isWindows) return ProgramKind::Windows;
  }
  bool executable = (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0 &&
                    access(path.c_str(), X_OK) == 0;
  return executable ? ProgramKind::Native : ProgramKind::NotRunnable;
}

struct Program {
  std::string path;
  ProgramKind kind;
};

std::optional<Program> Runnable(const std::string& path) {
  ProgramKind kind = Classify(path);
  if (kind == ProgramKind::NotRunnable) return std::nullopt;
  return Program{path, kind};
}

std::string Join(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  return directory.back() == '/' ? directory + name : directory + "/" + name;
}

// The program in one folder: the exact name first, then any case.
std::optional<Program> FindInFolder(const std::string& directory, const std::string& name) {
  if (auto exact = Runnable(Join(directory, name))) return exact;
  if (auto match = FindEntryIgnoringCase(directory, name)) return Runnable(Join(directory, *match));
  return std::nullopt;
}

std::vector<std::string> PathFolders() {
  std::vector<std::string> folders;
  const char* path = std::getenv("PATH");
  std::string_view rest = path == nullptr ? "" : path;
  while (!rest.empty()) {
    size_t colon = rest.find(':');
    std::string_view folder = rest.substr(0, colon);
    folders.emplace_back(folder.empty() ? "." : folder);
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return folders;
}

std::vector<std::string> SearchFolders() {
  std::vector<std::string> folders;
  {
    std::lock_guard lock(g_lookupMutex);
    if (!g_programDirectory.empty()) folders.push_back(g_programDirectory);
  }
  folders.push_back(".");
  for (std::string& folder : PathFolders()) folders.push_back(std::move(folder));
  return folders;
}

// Whether the last component of a GBK name has an extension. A second byte
// 0x5C taken for a separator can only hide a dot, costing one more ".exe" try.
bool HasExtension(std::string_view gbkName) {
  size_t separator = gbkName.find_last_of("\\/");
  size_t start = separator == std::string_view::npos ? 0 : separator + 1;
  return gbkName.find('.', start) != std::string_view::npos;
}

bool IsPathToken(std::string_view gbkToken) {
  return gbkToken.find_first_of("\\/") != std::string_view::npos ||
         (gbkToken.size() >= 2 && gbkToken[1] == ':');
}

std::optional<Program> FindProgram(std::string_view gbkToken) {
  std::vector<std::string> names = {std::string(gbkToken)};
  if (!HasExtension(gbkToken)) names.push_back(std::string(gbkToken) + ".exe");
  if (IsPathToken(gbkToken)) {
    for (const std::string& name : names) {
      if (auto found = Runnable(ToNativePath(name))) return found;
    }
    return std::nullopt;
  }
  for (const std::string& folder : SearchFolders()) {
    for (const std::string& name : names) {
      if (auto found = FindInFolder(folder, GbkToUtf8(name))) return found;
    }
  }
  return std::nullopt;
}

std::optional<std::string> FindWine() {
  for (const std::string& folder : PathFolders()) {
    std::string candidate = Join(folder, "wine");
    if (Classify(candidate) == ProgramKind::Native) return candidate;
  }
  return std::nullopt;
}

// Starts argv[0] with argv; 0 or the errno of the failed start (including a
// failed exec, which glibc's posix_spawn reports).
int Spawn(const std::vector<std::string>& arguments, pid_t& pid) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t empty;
  sigset_t defaults;
  sigemptyset(&empty);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigmask(&attributes, &empty);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  int result = posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  return result;
}

void WaitFor(pid_t pid) {
  int status;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

// Children whose reaper thread could not be started; collected without
// blocking on every later start.
std::mutex g_unreapedMutex;
std::vector<pid_t> g_unreaped;

void ReapFinishedStragglers() {
  std::lock_guard lock(g_unreapedMutex);
  std::erase_if(g_unreaped, [](pid_t pid) {
    int status;
    return waitpid(pid, &status, WNOHANG) != 0;
  });
}

// A thread that waits for exactly this child: it never takes another child's
// status (as a SIGCHLD handler calling waitpid(-1) would) and the child's
// entry disappears as soon as it ends.
void ReapInBackground(pid_t pid) {
  try {
    std::thread(WaitFor, pid).detach();
  } catch (const std::system_error&) {
    std::lock_guard lock(g_unreapedMutex);
    g_unreaped.push_back(pid);
  }
}

}  // namespace

void SetProgramDirectoryForLookup(std::string nativeDirectory) {
  std::lock_guard lock(g_lookupMutex);
  g_programDirectory = std::move(nativeDirectory);
}

bool RunProgram(std::string_view gbkCommandLine, const RunOptions& options, std::string* why) {
  ReapFinishedStragglers();
  std::vector<std::string> tokens = SplitCommandLine(gbkCommandLine);
  if (tokens.empty() || tokens[0].empty()) return Fail(why, "the command line names no program");
  std::optional<Program> program = FindProgram(tokens[0]);
  if (!program) {
    return Fail(why, "program \"" + GbkToUtf8(tokens[0]) + "\" not found or not executable");
  }
  std::vector<std::string> arguments;
  if (program->kind == ProgramKind::Windows) {
    std::optional<std::string> wine = FindWine();
    if (!wine) {
      return Fail(why, "\"" + program->path + "\" is a Windows program and wine is not installed");
    }
    arguments.push_back(*wine);
  }
  arguments.push_back(program->path);
  for (size_t i = 1; i < tokens.size(); ++i) arguments.push_back(GbkToUtf8(tokens[i]));

  pid_t pid = 0;
  if (int error = Spawn(arguments, pid); error != 0) {
    return Fail(why, "cannot start \"" + arguments[0] + "\": " + std::strerror(error));
  }
  if (options.wait) {
    WaitFor(pid);
  } else {
    ReapInBackground(pid);
  }
  return true;
}

bool StartDetached(std::vector<std::string> arguments, std::string* why) {
  ReapFinishedStragglers();
  if (arguments.empty() || arguments[0].empty()) return Fail(why, "no program named");
  if (arguments[0].find('/') == std::string::npos) {
    std::optional<std::string> found;
    for (const std::string& folder : PathFolders()) {
      std::string candidate = Join(folder, arguments[0]);
      if (Classify(candidate) == ProgramKind::Native) {
        found = candidate;
        break;
      }
    }
    if (!found) return Fail(why, "program \"" + arguments[0] + "\" not found on PATH");
    arguments[0] = *found;
  }
  pid_t pid = 0;
  if (int error = Spawn(arguments, pid); error != 0) {
    return Fail(why, "cannot start \"" + arguments[0] + "\": " + std::strerror(error));
  }
  ReapInBackground(pid);
  return true;
}

}  // namespace vlmr::platform
