// The launcher's event table, wiring the window's controls to the routines of
// the shell, the settings panel and the update run.
#include "app/event_table.h"
#include "app/link_buttons.h"
#include "app/manifest_key.h"
#include "app/update_run.h"
#include "app/window_handlers.h"
#include "runtime/launcher_ids.h"
#include "settings/settings_panel.h"
#include "settings/settings_store.h"

namespace vlmr::app {

namespace ids = rt::ids;

// Every choice box of the settings panel except the texture-filtering box,
// which toggles on its own and has no handler.
constexpr uint32_t kGroupBoxes[] = {
    ids::kBoxOldStyle,    ids::kBoxNewStyle,     ids::kBoxFourSpeakers, ids::kBoxSurround,
    ids::kBoxTwoSpeakers, ids::kBoxTopSound,     ids::kBoxEffectsOn,    ids::kBoxEffectsOff,
    ids::kBoxMusicOn,     ids::kBoxMusicOff,     ids::kBox56Hz,         ids::kBox60Hz,
    ids::kBox70Hz,        ids::kBox72Hz,         ids::kBox75Hz,         ids::kBox1920x1080,
    ids::kBox1600x900,    ids::kBox1366x768,     ids::kBox1024x768,     ids::kBox800x600,
    ids::kBoxWindowed,    ids::kBoxFullScreen,
};

EventTable LauncherEventTable() {
  EventTable table;
  table.windowCreated = settings::LoadSettings;
  table.clicks[ids::kStartButton] = [] { StartGame([] { UpdateRun(BuiltInManifestKey()); }); };
  table.clicks[ids::kMinimiseButton] = MinimiseWindow;
  table.clicks[ids::kCloseButton] = CloseWindow;
  table.clicks[ids::kSettingsButton] = settings::ShowOrHideSettings;
  table.clicks[ids::kRegisterButton] = OpenRegistrationPage;
  table.clicks[ids::kForumButton] = OpenForum;
  table.clicks[ids::kShopButton] = OpenShopPage;
  table.clicks[ids::kButtonConfirm] = settings::SaveSettings;
  table.clicks[ids::kButtonReset] = settings::ResetSettings;
  for (uint32_t box : kGroupBoxes) {
    table.clicks[box] = [box] { settings::GroupClick(box); };
  }
  return table;
}

}  // namespace vlmr::app
