// A game folder for the launch tests: a stand-in client that records how it
// was started, the damage-style data files and a client configuration file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/temp_dir.h"

namespace vlmr::test {

inline const std::string kDataFolder = "Lanternfall/DAC_VLMR/";
inline const std::string kClientConfig =
    "[Client]\r\nSCREEN_WIDTH\t640\r\nSCREEN_HEIGHT\t480\r\nSOUND=1\r\n";

// Puts the stand-in client into the folder under `name`: on POSIX a shell
// script, on Windows a real executable built with the tests. When started it
// writes client-run.txt beside itself, moved into place last so that a
// reader never sees half of it.
void InstallStandInClient(const TempDir& game, std::string_view name = "CorvaneQXT.EXE");

inline void LayOutGameFolder(const TempDir& game) {
  InstallStandInClient(game);
  game.Write(kDataFolder + "0009.old", "OLD STYLE");
  game.Write(kDataFolder + "0009.new", "NEW STYLE");
  game.Write(kDataFolder + "0009.d2a", "ACTIVE");
  game.Write("Corvane.INI", kClientConfig);
}

// The stand-in's record (its working directory, then its arguments without
// the program), waiting for the client to write it: the launch does not wait
// for the client.
std::vector<std::string> ClientRun(const TempDir& game);

// The raw record: what the stand-in wrote, waited for like ClientRun.
std::string ClientRecord(const TempDir& game);

}  // namespace vlmr::test
