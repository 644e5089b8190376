#include <windows.h>

#include "platform/program_resource.h"

namespace vlmr::platform {

std::string_view ProgramResource(const char* type, const char* name, uint16_t language) {
  HMODULE program = ::GetModuleHandleW(nullptr);
  HRSRC resource = ::FindResourceExA(program, type, name, language);
  if (resource == nullptr) return {};
  HGLOBAL loaded = ::LoadResource(program, resource);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return {static_cast<const char*>(bytes), ::SizeofResource(program, resource)};
}

}  // namespace vlmr::platform
