// The launcher's artwork (the files of assets/), built into the executable.
#pragma once

#include <string_view>

namespace vlmr::app {

// The bytes of the asset file of that name; empty when there is none.
std::string_view EmbeddedAsset(std::string_view fileName);

}  // namespace vlmr::app
