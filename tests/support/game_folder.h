// A game folder for the launch tests: a stand-in client that records how it
// was started, the damage-style data files and a client configuration file.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

namespace vlmr::test {

// Records its working directory, then one argument per line, into
// client-run.txt beside itself, moved into place last so that a reader never
// sees half of it.
inline constexpr std::string_view kStandInClient =
    "#!/bin/sh\n"
    "record=\"$(dirname \"$0\")/client-run\"\n"
    "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$record.part\"\n"
    "mv \"$record.part\" \"$record.txt\"\n";

inline const std::string kDataFolder = "Lanternfall/DAC_VLMR/";
inline const std::string kClientConfig =
    "[Client]\r\nSCREEN_WIDTH\t640\r\nSCREEN_HEIGHT\t480\r\nSOUND=1\r\n";

inline void InstallClient(const TempDir& game, std::string_view name, std::string_view content) {
  game.Write(name, content);
  std::filesystem::permissions(game / name, std::filesystem::perms::owner_exec,
                               std::filesystem::perm_options::add);
}

inline void LayOutGameFolder(const TempDir& game) {
  InstallClient(game, "CorvaneQXT.EXE", kStandInClient);
  game.Write(kDataFolder + "0009.old", "OLD STYLE");
  game.Write(kDataFolder + "0009.new", "NEW STYLE");
  game.Write(kDataFolder + "0009.d2a", "ACTIVE");
  game.Write("Corvane.INI", kClientConfig);
}

// The stand-in's record (working directory, then the arguments), waiting for
// the client to write it: the launch does not wait for the client.
inline std::vector<std::string> ClientRun(const TempDir& game) {
  const std::filesystem::path record = game / "client-run.txt";
  for (int i = 0; i < 1000 && !std::filesystem::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::vector<std::string> lines;
  const std::string content = game.Read("client-run.txt");
  for (size_t start = 0, end; start < content.size(); start = end + 1) {
    end = content.find('\n', start);
    lines.push_back(content.substr(start, end - start));
  }
  return lines;
}

}  // namespace vlmr::test
