// The module's command table: the address of each of its 987 commands, in
// command order, as its information record hands them to the launcher.
#pragma once

#include <array>

#include "component/module_info.h"

namespace vlmr::component {

const std::array<rt::CommandFn, kCommandCount>& CommandTable();

}  // namespace vlmr::component
