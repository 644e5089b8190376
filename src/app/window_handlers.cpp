#include "app/window_handlers.h"

#include "runtime/commands.h"
#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"
#include "runtime/rt_blocks.h"
#include "runtime/rt_heap.h"
#include "runtime/window_system.h"

namespace vlmr::app {

using namespace rt::literals;

// The minimise command with its low four bits set; the system ignores them.
constexpr int32_t kMinimiseCommand = 0xF021;

void SetStartDisabled(bool disabled) {
  rt::SetControlBool(rt::ids::kLauncherWindow, rt::ids::kStartButton, rt::ids::kSlotDisabled,
                     disabled);
}

void StartGame(void (*updateRun)()) {
  rt::Text directory = rt::cmd::ProgramDirectory();
  rt::Text client(rt::join_texts({directory.get(), "\\CorvaneQXT.EXE"_t}));
  if (rt::cmd::FileExists(client.get())) {
    // The run disables the button itself, but only once its thread runs: a
    // second click already queued (a double click) would start a second run
    // that downloads the same files at the same time. Disable it here first.
    SetStartDisabled(true);
    if (!rt::cmd::StartThread(updateRun)) SetStartDisabled(false);  // no handle kept
    return;
  }
  rt::cmd::MessageBox("请把登陆器放在游戏目录运行."_t, rt::kMbOk | rt::kMbTaskModal, "提示"_t);
}

void MinimiseWindow() {
  rt::cmd::SendMessage(rt::ids::kLauncherWindow, rt::kWmSysCommand, kMinimiseCommand, 0);
}

void CloseWindow() { rt::cmd::SendMessage(rt::ids::kLauncherWindow, rt::kWmClose, 0, 0); }

}  // namespace vlmr::app
