// Draws the real launcher window with SDL's offscreen driver and writes two
// pictures: the window as it first appears, and with the settings panel open.
//
//   window_picture OUTPUT_DIR      (writes window.png, window-settings.png)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/launcher_startup.h"
#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"
#include "settings/settings_store.h"
#include "skin/picture_codec.h"

namespace {

namespace ids = vlmr::rt::ids;

bool Save(const std::filesystem::path& path) {
  auto picture = vlmr::app::LauncherWindowSystem().Capture(ids::kLauncherWindow);
  std::string why;
  if (!picture || !vlmr::skin::WritePng(*picture, path, &why)) {
    std::fprintf(stderr, "window_picture: cannot write %s: %s\n", path.c_str(), why.c_str());
    return false;
  }
  std::printf("wrote %s\n", path.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_picture OUTPUT_DIR\n");
    return 2;
  }
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  // Start-up makes the program directory current: fix the folder first.
  std::filesystem::path out = std::filesystem::absolute(argv[1]);
  vlmr::app::InitialiseLauncher(argv[0]);
  vlmr::app::EventTable events;
  events.windowCreated = vlmr::settings::LoadSettings;  // ticks the boxes as at start-up
  vlmr::app::LoadLauncherWindow(std::move(events));
  if (!Save(out / "window.png")) return 1;
  vlmr::rt::SetControlBool(ids::kLauncherWindow, ids::kSettingsPanel, ids::kSlotVisible, true);
  return Save(out / "window-settings.png") ? 0 : 1;
}
