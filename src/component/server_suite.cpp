#include "component/server_suite.h"

#include <mutex>

#include "component/command_slots.h"
#include "component/component_loader.h"
#include "runtime/runtime_frame.h"
#include "runtime/window_system.h"

namespace vlmr::component {
namespace {

LoadedModule g_module;
std::once_flag g_loadOnce;

// The module stays loaded to the process's end: the update worker may be
// inside one of its commands while the window closes, and unloading it under
// that thread would turn the exit into a crash. Its file goes at once.
void RemoveFileAtEnd() { RemoveWrittenFile(g_module); }

void LoadOrEnd() {
  LoadFailure failure;
  g_module = LoadComponentModule(DefaultLoaderPlaces(), &failure);
  if (g_module.origin == ModuleOrigin::None) {
    rt::ShowMessageBox(FailureBoxText(failure).c_str(), rt::kMbOk, FailureBoxCaption());
    rt::end_program(0);
  }
  BindCommandSlots(g_module.commands);
  rt::RegisterEndRoutine(&RemoveFileAtEnd);
}

}  // namespace

intptr_t NotifyServerSuite(int32_t code, intptr_t p1, intptr_t p2) {
  std::call_once(g_loadOnce, &LoadOrEnd);
  return g_module.notify(code, p1, p2);
}

}  // namespace vlmr::component
