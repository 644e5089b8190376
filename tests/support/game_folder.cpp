#include "support/game_folder.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace vlmr::test {

// Waits up to 10 s for the whole record: under Wine a file that has just
// been renamed into place can exist a moment before it can be read.
std::string ClientRecord(const TempDir& game) {
  std::string record;
  for (int i = 0; i < 1000; ++i) {
    if (std::filesystem::exists(game / "client-run.txt")) {
      record = game.Read("client-run.txt");
      if (!record.empty() && record.back() == '\n') break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return record;
}

}  // namespace vlmr::test
