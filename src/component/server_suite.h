// The launcher's side of the server component: its notification entry, which
// the runtime calls as one of its libraries during start-up.
#pragma once

#include <cstdint>

namespace vlmr::component {

// The first call loads the component's module (component_loader.h) and binds
// its commands to the launcher's entry points; when nothing can be loaded it
// shows the failure box ("[TARN] 载入失败") and ends the process with exit code
// 0. Every call, the first included, is then passed on to the module's own
// notification entry with the same arguments. At the end of the program the
// file the loader wrote is deleted.
intptr_t NotifyServerSuite(int32_t code, intptr_t p1, intptr_t p2);

}  // namespace vlmr::component
