#include <mutex>

#include "component/command_slots.h"
#include "component/module_info.h"
#include "component/server_suite.h"

extern "C" intptr_t tarn_ProcessNotifyLib(int32_t code, intptr_t p1, intptr_t p2);
extern "C" const vlmr::component::ModuleInfo* GetNewInf();

namespace vlmr::component {

// The module's commands are part of this program: the first notification
// binds them, as loading the module would.
intptr_t NotifyServerSuite(int32_t code, intptr_t p1, intptr_t p2) {
  static std::once_flag bound;
  std::call_once(bound, [] { BindCommandSlots(GetNewInf()->commands); });
  return tarn_ProcessNotifyLib(code, p1, p2);
}

}  // namespace vlmr::component
