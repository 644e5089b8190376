#include "platform/process.h"

#include <windows.h>

#include <mutex>
#include <optional>

#include "platform/codepage.h"
#include "platform/native_path.h"
#include "platform/win32_text.h"

namespace vlmr::platform {
namespace {

std::mutex g_lookupMutex;
std::wstring g_programDirectory;

bool Fail(std::string* why, std::string reason) {
  if (why) *why = std::move(reason);
  return false;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool HasExtension(const std::wstring& name) {
  const size_t dot = name.rfind(L'.');
  return dot != std::wstring::npos && dot > 0;
}

std::wstring CurrentDirectory() {
  wchar_t buffer[32768];
  const DWORD n = ::GetCurrentDirectoryW(32768, buffer);
  return n > 0 && n < 32768 ? std::wstring(buffer, n) : std::wstring();
}

// The folders searched for a program named without a folder: the program
// directory, the current directory, then PATH.
std::vector<std::wstring> SearchFolders() {
  std::vector<std::wstring> folders;
  {
    std::lock_guard lock(g_lookupMutex);
    if (!g_programDirectory.empty()) folders.push_back(g_programDirectory);
  }
  folders.push_back(CurrentDirectory());
  wchar_t path[32768];
  const DWORD n = ::GetEnvironmentVariableW(L"PATH", path, 32768);
  std::wstring_view rest(path, n > 0 && n < 32768 ? n : 0);
  while (!rest.empty()) {
    const size_t semicolon = rest.find(L';');
    if (semicolon != 0) folders.emplace_back(rest.substr(0, semicolon));
    if (semicolon == std::wstring_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return folders;
}

std::optional<std::wstring> FindProgram(const std::wstring& token) {
  const bool isPath = token.find_first_of(L"\\/:") != std::wstring::npos;
  if (isPath) return IsFile(token) ? std::optional(token) : std::nullopt;
  for (const std::wstring& folder : SearchFolders()) {
    const std::wstring candidate = folder + L"\\" + token;
    if (IsFile(candidate)) return candidate;
    if (!HasExtension(token) && IsFile(candidate + L".exe")) return candidate + L".exe";
  }
  return std::nullopt;
}

// One argument quoted as the Windows rules read it back.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

bool Start(const std::wstring* application, std::wstring commandLine, const std::wstring* folder,
           bool wait, std::string* why) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(application ? application->c_str() : nullptr, commandLine.data(), nullptr, nullptr,
                        FALSE, 0, nullptr, folder && !folder->empty() ? folder->c_str() : nullptr, &startup,
                        &process)) {
    return Fail(why, win32::ErrorText(::GetLastError()));
  }
  win32::Handle processHandle(process.hProcess);
  win32::Handle threadHandle(process.hThread);
  if (wait) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
  } else {
    ::WaitForInputIdle(process.hProcess, 1000);  // a window program's first moments; a console one returns at once
  }
  return true;
}

}  // namespace

void SetProgramDirectoryForLookup(std::string nativeDirectory) {
  std::lock_guard lock(g_lookupMutex);
  g_programDirectory = win32::Wide(nativeDirectory);
}

// The command line goes to the program character for character (converted
// from GBK to UTF-16), blanks included; the program runs in the program
// directory.
bool RunProgram(std::string_view gbkCommandLine, const RunOptions& options, std::string* why) {
  const std::vector<std::string> tokens = SplitCommandLine(gbkCommandLine);
  if (tokens.empty() || tokens.front().empty()) return Fail(why, "the command line names no program");
  const std::optional<std::wstring> program = FindProgram(win32::Wide(GbkToUtf8(tokens.front())));
  if (!program) return Fail(why, GbkToUtf8(tokens.front()) + ": not found");
  const std::u16string line = GbkToUtf16(gbkCommandLine);
  std::wstring folder;
  {
    std::lock_guard lock(g_lookupMutex);
    folder = g_programDirectory;
  }
  return Start(&*program, std::wstring(line.begin(), line.end()), &folder, options.wait, why);
}

bool StartDetached(std::vector<std::string> arguments, std::string* why) {
  if (arguments.empty()) return Fail(why, "no program");
  std::wstring line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += L' ';
    line += Quoted(win32::Wide(argument));
  }
  return Start(nullptr, line, nullptr, false, why);
}

}  // namespace vlmr::platform
