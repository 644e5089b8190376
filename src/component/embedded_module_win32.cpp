#include "component/embedded_module.h"

#include "platform/program_resource.h"

namespace vlmr::component {

// The program's resource "TARN_IDR_DLL" of type "DLL" in Chinese, simplified.
std::string_view EmbeddedPackedModule() { return platform::ProgramResource("DLL", "TARN_IDR_DLL", 2052); }

}  // namespace vlmr::component
