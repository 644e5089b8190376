// The toolkit DLL's image, carried in the program's read-only data (Windows).
#pragma once

#include <cstdint>
#include <span>

namespace vlmr::skin {

std::span<const uint8_t> EmbeddedToolkitImage();

}  // namespace vlmr::skin
