#include "support/game_folder.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace vlmr::test {

std::string ClientRecord(const TempDir& game) {
  const std::filesystem::path record = game / "client-run.txt";
  for (int i = 0; i < 1000 && !std::filesystem::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return game.Read("client-run.txt");
}

}  // namespace vlmr::test
