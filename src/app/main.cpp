// vlmr-launcher: the VLMR game launcher and patcher.
#include <cstdio>
#include <cstring>

#include "app/launcher_startup.h"

namespace {

void PrintHelp() {
  std::printf(
      "Usage: vlmr-launcher [--help | --version]\n"
      "\n"
      "Launcher and patcher of the Vellmoor game client. Place it in the game\n"
      "folder (beside CorvaneQXT.EXE) and start it without arguments: it shows\n"
      "the launcher window, keeps the game files up to date from the update\n"
      "server and starts the client. Settings are kept in LoginConfig.ini.\n"
      "\n"
      "  --help     show this text and exit\n"
      "  --version  show the version and exit\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
    PrintHelp();
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("vlmr-launcher %s\n", vlmr::app::LauncherVersion());
    return 0;
  }
  vlmr::app::InitialiseLauncher(argv[0]);
  vlmr::app::LoadLauncherWindow(vlmr::app::LauncherEventTable());
  vlmr::app::RunUntilClosed();
}
