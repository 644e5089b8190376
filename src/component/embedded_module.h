// The component's module as the build packed it into the launcher
// (packed_module_layout.h); empty in a build made without it.
#pragma once

#include <string_view>

namespace vlmr::component {

std::string_view EmbeddedPackedModule();

}  // namespace vlmr::component
