#include <windows.h>

#include <filesystem>

#include "platform/codepage.h"
#include "platform/process.h"
#include "support/game_folder.h"

namespace vlmr::test {

// CorvaneQXT.EXE, built with the tests, lies beside the test programs.
void InstallStandInClient(const TempDir& game, std::string_view name) {
  wchar_t self[32768];
  const DWORD length = ::GetModuleFileNameW(nullptr, self, 32768);
  const std::filesystem::path client = std::filesystem::path(std::wstring(self, length)).parent_path() / "CorvaneQXT.EXE";
  std::filesystem::copy_file(client, game / name, std::filesystem::copy_options::overwrite_existing);
}

// The executable's record is the command line as it was given, then its
// working directory: read back as the working directory and the arguments
// the command line holds after the program.
std::vector<std::string> ClientRun(const TempDir& game) {
  const std::string content = ClientRecord(game);
  const size_t lineEnd = content.find('\n');
  const std::string commandLine = content.substr(0, lineEnd);
  const std::string folder = content.substr(lineEnd + 1, content.find('\n', lineEnd + 1) - lineEnd - 1);
  std::vector<std::string> run = {folder};
  const std::vector<std::string> tokens = platform::SplitCommandLine(platform::Utf8ToGbk(commandLine));
  for (size_t i = 1; i < tokens.size(); ++i) run.push_back(platform::GbkToUtf8(tokens[i]));
  return run;
}

}  // namespace vlmr::test
