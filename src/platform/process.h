// Starting programs from a Windows-style command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vlmr::platform {

// Splits a command line with the Windows (CommandLineToArgvW / MSVC runtime)
// rules: blanks and tabs separate; double quotes group; 2n backslashes before a
// quote give n backslashes and the quote toggles; 2n+1 give n and a literal
// quote; other backslashes are literal. The first token takes no escapes
// (quotes group, backslashes are literal). The text is GBK: a double-byte
// character is one unit, so a second byte 0x5C is never taken for a backslash.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The folder searched first for a program (native UTF-8 path): the program
// directory, which the runtime owns and hands over when it learns it.
void SetProgramDirectoryForLookup(std::string nativeDirectory);

struct RunOptions {
  bool wait = false;    // block until the process ends
  int showMode = 2;     // 1-6 as the run-program command takes it (informational here)
};

// Runs a GBK command line. The program (first token) is looked up in the
// program directory first, then the current directory, then PATH, in each
// folder by its exact name and then case-insensitively; a name without an
// extension is also tried with ".exe", as Windows does. A token holding a
// separator or a drive is a path and is not searched. A Windows executable
// (starts with "MZ") is started through `wine` when it is on PATH. The child's
// working directory is the current directory; it gets the launcher's
// environment and default SIGPIPE handling. Without wait, returns once the
// child has started (exec succeeded; glibc's posix_spawn reports a failed exec
// as its result, so no waiting is needed), and a detached thread reaps the
// child when it ends, so no zombie is left. With wait, returns after the child
// has ended, whatever its exit status. False, with the reason (UTF-8) in *why,
// when it cannot be started.
bool RunProgram(std::string_view gbkCommandLine, const RunOptions& options,
                std::string* why = nullptr);

// Starts a native program (UTF-8 arguments; a first argument without "/" is
// searched on PATH) without waiting; it is reaped in the background. False,
// with the reason in *why, when it cannot be started.
bool StartDetached(std::vector<std::string> arguments, std::string* why = nullptr);

}  // namespace vlmr::platform
