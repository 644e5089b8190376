// vlmr-launcher: the VLMR game launcher and patcher.
#include <cstdio>
#include <cstring>

#include "app/launcher_log_start.h"
#include "app/launcher_startup.h"
#include "app/update_run.h"
#include "platform/system_info.h"
#include "runtime/runtime_frame.h"

namespace {

void PrintHelp() {
  std::printf(
      "Usage: vlmr-launcher [--verify-all] | --help | --version\n"
      "\n"
      "Launcher and patcher of the Vellmoor game client. Place it in the game\n"
      "folder (beside CorvaneQXT.EXE) and start it without arguments: it shows\n"
      "the launcher window, keeps the game files up to date from the update\n"
      "server and starts the client. Settings are kept in LoginConfig.ini.\n"
      "\n"
      "Files found current are remembered in .vlmr/verified-state, so that the\n"
      "next start need not read them again while they are unchanged.\n"
      "\n"
      "The launcher keeps a log for support in .vlmr/launcher.log in the game\n"
      "folder (the older lines in launcher.log.1); when the game folder cannot\n"
      "be written, in $XDG_STATE_HOME/vlmr/launcher.log, by default\n"
      "~/.local/state/vlmr/launcher.log.\n"
      "\n"
      "  --verify-all  read and check every listed file at start, trusting\n"
      "                nothing remembered from earlier starts\n"
      "  --help        show this text and exit\n"
      "  --version     show the version and exit\n");
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
  if (argc > 1 && std::strcmp(argv[1], "--verify-all") == 0) vlmr::app::ForceFullCheck = true;
  if (argc > 2 || (argc == 2 && !vlmr::app::ForceFullCheck)) {
    std::fprintf(stderr, "vlmr-launcher: unknown argument \"%s\" (see --help)\n", argv[argc - 1]);
    return 2;
  }
  if (!vlmr::platform::HasDesktop()) {
    std::fprintf(stderr,
                 "vlmr-launcher: no display to show the window on: start it in a desktop "
                 "session (DISPLAY or WAYLAND_DISPLAY is not set)\n");
    return 1;
  }
  vlmr::app::InitialiseLauncher(argv[0]);
  vlmr::app::StartLauncherLog(vlmr::rt::ProgramDirectory());
  vlmr::app::LoadLauncherWindow(vlmr::app::LauncherEventTable());
  vlmr::app::RunUntilClosed();
}
