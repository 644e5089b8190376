// A resource carried in the running program's image (Windows): its bytes,
// read-only, for the life of the process.
#pragma once

#include <cstdint>
#include <string_view>

namespace vlmr::platform {

// The resource of `type` and `name` in `language` (a Windows language id,
// such as 2052 for Chinese, simplified); empty when the program has none.
std::string_view ProgramResource(const char* type, const char* name, uint16_t language);

}  // namespace vlmr::platform
