// Unpacking the component's module from the launcher's own data.
#pragma once

#include <string>
#include <string_view>

namespace vlmr::component {

// The module held in `packed` (packed_module_layout.h), decoded with
// liblzma's raw LZMA1 decoder. Bytes that do not fit the layout or do not
// decode to the size it names are taken as the module as they stand.
std::string UnpackModule(std::string_view packed);

}  // namespace vlmr::component
