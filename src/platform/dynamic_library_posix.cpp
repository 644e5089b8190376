#include "platform/dynamic_library.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

namespace vlmr::platform {
namespace {

namespace fs = std::filesystem;

// dlopen maps a module's segments as its program headers describe them; a
// file cut short would be mapped beyond its end and the first touch of such
// a page kills the process (SIGBUS). So the file is checked first: an ELF
// object of this program's class whose loaded segments lie inside it.
std::string WhyNotWhole(const fs::path& path) {
  std::error_code error;
  const uintmax_t size = fs::file_size(path, error);
  if (error) return error.message();
  std::ifstream in(path, std::ios::binary);
  ElfW(Ehdr) header;
  if (!in.read(reinterpret_cast<char*>(&header), sizeof header) ||
      std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) ||
      header.e_phentsize != sizeof(ElfW(Phdr))) {
    return "not a shared object of this program's architecture";
  }
  std::vector<ElfW(Phdr)> segments(header.e_phnum);
  in.seekg(static_cast<std::streamoff>(header.e_phoff));
  if (!in.read(reinterpret_cast<char*>(segments.data()),
               static_cast<std::streamsize>(segments.size() * sizeof(ElfW(Phdr))))) {
    return "its program headers are cut short";
  }
  for (const ElfW(Phdr)& segment : segments) {
    if (segment.p_type == PT_LOAD && segment.p_offset + segment.p_filesz > size) {
      return "the file is cut short (" + std::to_string(size) + " bytes)";
    }
  }
  return {};
}

}  // namespace

ModuleHandle OpenModule(const fs::path& path, std::string* why) {
  // An absolute path: dlopen then searches no system folder.
  const fs::path absolute = fs::absolute(path);
  *why = WhyNotWhole(absolute);
  if (!why->empty()) return nullptr;
  dlerror();
  ModuleHandle module = dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = dlerror();
    *why = reason ? reason : "the module cannot be loaded";
  }
  return module;
}

void* ModuleEntry(ModuleHandle module, const char* name) {
  return module ? dlsym(module, name) : nullptr;
}

void CloseModule(ModuleHandle module) {
  if (module != nullptr) dlclose(module);
}

}  // namespace vlmr::platform
