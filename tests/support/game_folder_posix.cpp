#include <filesystem>

#include "support/game_folder.h"
#include "support/stand_in_script_posix.h"

namespace vlmr::test {

void InstallStandInClient(const TempDir& game, std::string_view name) {
  game.Write(name, kStandInClient);
  std::filesystem::permissions(game / name, std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
}

// The script's record is its working directory, then one argument per line.
std::vector<std::string> ClientRun(const TempDir& game) {
  const std::string content = ClientRecord(game);
  std::vector<std::string> lines;
  for (size_t start = 0, end; start < content.size(); start = end + 1) {
    end = content.find('\n', start);
    lines.push_back(content.substr(start, end - start));
  }
  return lines;
}

}  // namespace vlmr::test
