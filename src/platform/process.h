// Starting programs from a Windows-style command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vlmr::platform {

// Splits a command line with the Windows (CommandLineToArgvW / MSVC runtime)
// rules: blanks and tabs separate; double quotes group; 2n backslashes before a
// quote give n backslashes and the quote toggles; 2n+1 give n and a literal
// quote; other backslashes are literal. The first token takes no escapes.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

struct RunOptions {
  bool wait = false;    // block until the process ends
  int showMode = 2;     // 1-6 as the run-program command takes it (informational here)
};

// Runs a GBK command line. The program (first token) is looked up in the
// program directory first (case-insensitively when the exact name is missing),
// then the current directory, then PATH. A Windows executable (starts with "MZ")
// is started through `wine` when it is on PATH. The child's working directory
// is the current directory. Without wait, returns once the child has started
// (exec succeeded), waiting at most 1000 ms. False, with the reason in *why,
// when it cannot be started.
bool RunProgram(std::string_view gbkCommandLine, const RunOptions& options,
                std::string* why = nullptr);

}  // namespace vlmr::platform
