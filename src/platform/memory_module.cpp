#include "platform/memory_module.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/pe_image.h"

namespace vlmr::platform {

struct MemoryModule {
  MemoryModuleServices services;
  pe::Headers headers;
  uint8_t* base = nullptr;
  size_t mappedSize = 0;
  // The exports, read at load while every page is still readable (a section
  // may be protected or discarded afterwards): function addresses by index
  // and the names, sorted byte-wise, with their indexes.
  uint32_t ordinalBase = 0;
  pe::DataDirectory exportDirectory;  // a function address inside it is a forwarder, not code
  std::vector<uint32_t> functions;
  std::vector<std::pair<std::string, uint16_t>> names;
  std::vector<uint8_t*> tlsCallbacks;  // read at load too
  std::vector<void*> libraries;  // loaded for the imports, each freed once
  bool tlsAttached = false;  // the TLS callbacks were told of the attach
  bool initialised = false;   // the entry point accepted the attach
  bool isDll = false;
  void* unwindTable = nullptr;
  const void* executableEntry = nullptr;  // kept for an image that is not a DLL, never called

  pe::Bytes Mapped() const { return {base, mappedSize}; }
  template <typename T>
  void Write(uint64_t offset, T value) {
    std::memcpy(base + offset, &value, sizeof value);
  }
  uint64_t ReadPointer(uint64_t offset) const {
    return headers.is64 ? Mapped().Read<uint64_t>(offset) : Mapped().Read<uint32_t>(offset);
  }
  void WritePointer(uint64_t offset, uint64_t value) {
    if (headers.is64) {
      Write<uint64_t>(offset, value);
    } else {
      Write<uint32_t>(offset, static_cast<uint32_t>(value));
    }
  }
};

namespace {

thread_local uint32_t lastError = 0;

uint64_t AlignUp(uint64_t value, uint64_t alignment) { return (value + alignment - 1) / alignment * alignment; }

std::nullptr_t Fail(uint32_t error) {
  lastError = error;
  return nullptr;
}

// The end of the last section in memory must be the image size, both counted
// in whole pages.
bool SectionsFillTheImage(const pe::Headers& h, size_t pageSize) {
  uint64_t lastEnd = 0;
  for (const pe::Section& s : h.sections) {
    lastEnd = std::max(lastEnd, uint64_t{s.virtualAddress} + (s.rawSize != 0 ? s.rawSize : h.sectionAlignment));
  }
  return AlignUp(h.sizeOfImage, pageSize) == AlignUp(lastEnd, pageSize);
}

uint32_t CopyHeaders(MemoryModule& m, pe::Bytes image) {
  const pe::Headers& h = m.headers;
  // The copy must hold the fields written into it: the image base and the
  // section table.
  if (!image.Holds(0, h.sizeOfHeaders) || h.sizeOfHeaders > m.mappedSize ||
      h.ImageBaseOffset() + h.PointerSize() > h.sizeOfHeaders ||
      h.sectionTable + h.sections.size() * pe::kSectionHeaderSize > h.sizeOfHeaders) {
    return kErrorInvalidData;
  }
  const MemoryModuleServices& s = m.services;
  if (h.sizeOfHeaders > 0 && s.allocate(m.base, h.sizeOfHeaders, false, s.user) == nullptr) return kErrorOutOfMemory;
  std::memcpy(m.base, image.data, h.sizeOfHeaders);
  m.WritePointer(h.ImageBaseOffset(), reinterpret_cast<uintptr_t>(m.base));
  return 0;
}

uint32_t CopySections(MemoryModule& m, pe::Bytes image) {
  const MemoryModuleServices& s = m.services;
  for (size_t i = 0; i < m.headers.sections.size(); ++i) {
    const pe::Section& section = m.headers.sections[i];
    uint8_t* at = m.base + section.virtualAddress;
    if (section.rawSize == 0) {
      if (m.headers.sectionAlignment == 0) continue;
      if (s.allocate(at, m.headers.sectionAlignment, false, s.user) == nullptr) return kErrorOutOfMemory;
      std::memset(at, 0, m.headers.sectionAlignment);
    } else {
      if (!image.Holds(section.rawOffset, section.rawSize)) return kErrorInvalidData;
      if (s.allocate(at, section.rawSize, false, s.user) == nullptr) return kErrorOutOfMemory;
      std::memcpy(at, image.data + section.rawOffset, section.rawSize);
    }
    // The section header's physical-address field records where it went.
    m.Write<uint32_t>(m.headers.sectionTable + i * pe::kSectionHeaderSize + 8,
                      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(at)));
  }
  return 0;
}

// Adds `delta` to every 32-bit (type 3) and 64-bit (type 10) address the
// relocation blocks name, up to the first block at address 0.
uint32_t Relocate(MemoryModule& m, uint64_t delta) {
  const pe::DataDirectory directory = m.headers.directories[pe::kRelocations];
  if (directory.address == 0 || directory.size == 0) return kErrorBadExeFormat;  // addresses that cannot be moved
  const pe::Bytes mapped = m.Mapped();
  if (!mapped.Holds(directory.address, directory.size)) return kErrorInvalidData;
  const uint64_t end = uint64_t{directory.address} + directory.size;
  for (uint64_t block = directory.address; block + 8 <= end;) {
    const uint32_t page = mapped.Read<uint32_t>(block);
    if (page == 0) break;
    const uint32_t blockSize = mapped.Read<uint32_t>(block + 4);
    if (blockSize < 8 || block + blockSize > end) return kErrorInvalidData;
    for (uint64_t entry = block + 8; entry + 2 <= block + blockSize; entry += 2) {
      const uint16_t value = mapped.Read<uint16_t>(entry);
      const uint64_t target = uint64_t{page} + (value & 0x0FFF);
      if (value >> 12 == 3) {
        if (!mapped.Holds(target, 4)) return kErrorInvalidData;
        m.Write<uint32_t>(target, static_cast<uint32_t>(mapped.Read<uint32_t>(target) + delta));
      } else if (value >> 12 == 10) {
        if (!mapped.Holds(target, 8)) return kErrorInvalidData;
        m.Write<uint64_t>(target, mapped.Read<uint64_t>(target) + delta);
      }
    }
    block += blockSize;
  }
  return 0;
}

// Resolves one import descriptor's thunks from `library`.
uint32_t BindThunks(MemoryModule& m, void* library, uint32_t lookupTable, uint32_t addressTable) {
  const pe::Bytes mapped = m.Mapped();
  const size_t pointer = m.headers.PointerSize();
  const uint64_t ordinalFlag = uint64_t{1} << (pointer * 8 - 1);
  const MemoryModuleServices& s = m.services;
  for (uint64_t i = 0;; ++i) {
    const uint64_t lookup = lookupTable + i * pointer;
    const uint64_t address = addressTable + i * pointer;
    if (!mapped.Holds(lookup, pointer) || !mapped.Holds(address, pointer)) return kErrorInvalidData;
    const uint64_t entry = m.ReadPointer(lookup);
    if (entry == 0) return 0;
    void* function;
    if ((entry & ordinalFlag) != 0) {
      function = s.getProcedure(library, nullptr, static_cast<uint16_t>(entry & 0xFFFF), s.user);
    } else {
      const char* name = mapped.TextAt(entry + 2);  // after the two-byte hint
      if (name == nullptr) return kErrorInvalidData;
      function = s.getProcedure(library, name, 0, s.user);
    }
    if (function == nullptr) return kErrorProcNotFound;
    m.WritePointer(address, reinterpret_cast<uintptr_t>(function));
  }
}

uint32_t ResolveImports(MemoryModule& m) {
  const pe::DataDirectory directory = m.headers.directories[pe::kImports];
  if (directory.address == 0 || directory.size == 0) return 0;
  const pe::Bytes mapped = m.Mapped();
  const MemoryModuleServices& s = m.services;
  for (uint64_t descriptor = directory.address;; descriptor += 20) {
    if (!mapped.Holds(descriptor, 20)) return kErrorInvalidData;
    const uint32_t nameAddress = mapped.Read<uint32_t>(descriptor + 12);
    if (nameAddress == 0) return 0;
    const char* name = mapped.TextAt(nameAddress);
    if (name == nullptr) return kErrorInvalidData;
    void* library = s.loadLibrary(name, s.user);
    if (library == nullptr) return kErrorModNotFound;
    try {
      m.libraries.push_back(library);
    } catch (const std::bad_alloc&) {
      s.freeLibrary(library, s.user);
      return kErrorOutOfMemory;
    }
    const uint32_t lookupTable = mapped.Read<uint32_t>(descriptor);
    const uint32_t addressTable = mapped.Read<uint32_t>(descriptor + 16);
    if (const uint32_t error = BindThunks(m, library, lookupTable != 0 ? lookupTable : addressTable, addressTable)) {
      return error;
    }
  }
}

uint32_t ProtectionOf(uint32_t characteristics) {
  static constexpr uint32_t kByExecuteReadWrite[2][2][2] = {
      {{kPageNoAccess, kPageWriteCopy}, {kPageReadOnly, kPageReadWrite}},
      {{kPageExecute, kPageExecuteWriteCopy}, {kPageExecuteRead, kPageExecuteReadWrite}}};
  uint32_t protection = kByExecuteReadWrite[(characteristics & pe::kSectionExecute) != 0]
                                           [(characteristics & pe::kSectionRead) != 0]
                                           [(characteristics & pe::kSectionWrite) != 0];
  if ((characteristics & pe::kSectionNotCached) != 0) protection |= kPageNoCache;
  return protection;
}

// Sections that share pages, protected together.
struct PageGroup {
  uint64_t address;         // offset of the first section
  uint64_t alignedAddress;  // its page
  uint64_t size;
  uint32_t characteristics;
  bool last;
};

uint64_t SectionSize(const pe::Headers& h, const pe::Section& s) {
  if (s.rawSize != 0) return s.rawSize;
  if ((s.characteristics & pe::kSectionInitialisedData) != 0) return h.sizeOfInitialisedData;
  if ((s.characteristics & pe::kSectionUninitialisedData) != 0) return h.sizeOfUninitialisedData;
  return 0;
}

uint32_t ProtectGroup(MemoryModule& m, const PageGroup& group) {
  if (group.size == 0) return 0;
  const MemoryModuleServices& s = m.services;
  // Never beyond the mapping, whatever sizes the headers claim.
  const uint64_t size = std::min<uint64_t>(group.size, m.mappedSize - std::min<uint64_t>(group.address, m.mappedSize));
  if (size == 0) return 0;
  if ((group.characteristics & pe::kSectionDiscardable) != 0) {
    if (group.address == group.alignedAddress &&
        (group.last || m.headers.sectionAlignment == s.pageSize || size % s.pageSize == 0)) {
      s.release(m.base + group.address, size, false, s.user);
    }
    return 0;
  }
  return s.protect(m.base + group.address, size, ProtectionOf(group.characteristics), s.user) ? 0
                                                                                            : kErrorInvalidAddress;
}

uint32_t ProtectSections(MemoryModule& m) {
  const pe::Headers& h = m.headers;
  if (h.sections.empty()) return 0;
  const uint64_t page = m.services.pageSize;
  auto groupOf = [&](const pe::Section& s) {
    return PageGroup{s.virtualAddress, s.virtualAddress / page * page, SectionSize(h, s), s.characteristics, false};
  };
  PageGroup group = groupOf(h.sections[0]);
  for (size_t i = 1; i < h.sections.size(); ++i) {
    const PageGroup next = groupOf(h.sections[i]);
    if (group.alignedAddress == next.alignedAddress || group.address + group.size > next.alignedAddress) {
      const bool bothDiscardable = (group.characteristics & next.characteristics & pe::kSectionDiscardable) != 0;
      group.characteristics = (group.characteristics | next.characteristics) & ~pe::kSectionDiscardable;
      if (bothDiscardable) group.characteristics |= pe::kSectionDiscardable;
      group.size = next.address + next.size - group.address;
      continue;
    }
    if (const uint32_t error = ProtectGroup(m, group)) return error;
    group = next;
  }
  group.last = true;
  return ProtectGroup(m, group);
}

// The export directory and the tables it names must lie inside the image,
// every name terminated and every function address inside it.
uint32_t ReadExports(MemoryModule& m) {
  const pe::DataDirectory directory = m.headers.directories[pe::kExports];
  if (directory.address == 0 || directory.size == 0) return 0;
  const pe::Bytes mapped = m.Mapped();
  if (!mapped.Holds(directory.address, 40)) return kErrorInvalidData;
  const pe::ExportTable t{mapped.Read<uint32_t>(directory.address + 16), mapped.Read<uint32_t>(directory.address + 20),
                          mapped.Read<uint32_t>(directory.address + 24), mapped.Read<uint32_t>(directory.address + 28),
                          mapped.Read<uint32_t>(directory.address + 32), mapped.Read<uint32_t>(directory.address + 36)};
  if (!mapped.Holds(t.functions, uint64_t{t.functionCount} * 4) || !mapped.Holds(t.names, uint64_t{t.nameCount} * 4) ||
      !mapped.Holds(t.nameOrdinals, uint64_t{t.nameCount} * 2)) {
    return kErrorInvalidData;
  }
  try {
    m.functions.resize(t.functionCount);
    for (uint32_t i = 0; i < t.functionCount; ++i) {
      m.functions[i] = mapped.Read<uint32_t>(t.functions + 4 * uint64_t{i});
      if (m.functions[i] >= m.mappedSize) return kErrorInvalidData;
    }
    m.names.reserve(t.nameCount);
    for (uint32_t i = 0; i < t.nameCount; ++i) {
      const char* name = mapped.TextAt(mapped.Read<uint32_t>(t.names + 4 * uint64_t{i}));
      if (name == nullptr) return kErrorInvalidData;
      m.names.emplace_back(name, mapped.Read<uint16_t>(t.nameOrdinals + 2 * uint64_t{i}));
    }
  } catch (const std::bad_alloc&) {
    return kErrorOutOfMemory;
  }
  std::sort(m.names.begin(), m.names.end());  // std::string compares byte-wise, as unsigned chars
  m.ordinalBase = t.ordinalBase;
  m.exportDirectory = directory;
  return 0;
}

uint32_t RegisterUnwindTable(MemoryModule& m) {
  const pe::DataDirectory directory = m.headers.directories[pe::kExceptions];
  if (!m.headers.is64 || directory.address == 0 || directory.size == 0) return 0;
  if (!m.Mapped().Holds(directory.address, directory.size)) return kErrorInvalidData;
  const MemoryModuleServices& s = m.services;
  void* table = m.base + directory.address;
  if (!s.addUnwindTable(table, directory.size / 12, m.base, s.user)) return kErrorOutOfMemory;
  m.unwindTable = table;
  return 0;
}

// The TLS callbacks, up to the first null: each inside the image.
uint32_t ReadTlsCallbacks(MemoryModule& m) {
  const pe::DataDirectory directory = m.headers.directories[pe::kTls];
  if (directory.address == 0) return 0;
  const size_t pointer = m.headers.PointerSize();
  const pe::Bytes mapped = m.Mapped();
  if (!mapped.Holds(directory.address, 4 * pointer + 8)) return kErrorInvalidData;
  const uint64_t base = reinterpret_cast<uintptr_t>(m.base);
  const uint64_t list = m.ReadPointer(directory.address + 3 * pointer);
  if (list == 0) return 0;
  for (uint64_t entry = list - base;; entry += pointer) {
    if (!mapped.Holds(entry, pointer)) return kErrorInvalidData;
    const uint64_t callback = m.ReadPointer(entry);
    if (callback == 0) return 0;
    if (callback - base >= m.mappedSize) return kErrorInvalidData;
    m.tlsCallbacks.push_back(m.base + (callback - base));
  }
}

// Tells each TLS callback of the process attach (1) or detach (0).
void RunTlsCallbacks(MemoryModule& m, uint32_t reason) {
  for (uint8_t* callback : m.tlsCallbacks) m.services.callEntry(callback, m.base, reason, m.services.user);
  m.tlsAttached = reason == 1;
}

uint32_t RunEntryPoint(MemoryModule& m) {
  const uint32_t entry = m.headers.entryPoint;
  if (entry == 0) return 0;
  if (!m.isDll) {
    m.executableEntry = m.base + entry;
    return 0;
  }
  const MemoryModuleServices& s = m.services;
  if (s.callEntry(m.base + entry, m.base, 1, s.user) == 0) return kErrorDllInitFailed;
  m.initialised = true;
  return 0;
}

// Steps 6 to 12 of a load, on the mapped image.
uint32_t BuildImage(MemoryModule& m, pe::Bytes image) {
  const uint64_t delta = reinterpret_cast<uintptr_t>(m.base) - m.headers.imageBase;
  uint32_t error = CopyHeaders(m, image);
  if (!error) error = CopySections(m, image);
  if (!error && delta != 0) error = Relocate(m, delta);
  if (!error) error = ResolveImports(m);
  if (!error) error = ReadExports(m);
  if (!error) error = ReadTlsCallbacks(m);
  if (!error && m.headers.entryPoint >= m.mappedSize) error = kErrorInvalidData;
  if (!error) error = ProtectSections(m);
  if (!error) error = RegisterUnwindTable(m);
  if (!error) {
    RunTlsCallbacks(m, 1);
    error = RunEntryPoint(m);
  }
  return error;
}

}  // namespace

MemoryModule* LoadMemoryModule(const void* image, size_t size, const MemoryModuleServices& services) {
  const pe::Bytes raw{static_cast<const uint8_t*>(image), image != nullptr ? size : 0};
  pe::HeaderFault fault;
  std::optional<pe::Headers> headers;
  try {
    headers = pe::ReadHeaders(raw, services.machine, &fault);
  } catch (const std::bad_alloc&) {
    return Fail(kErrorOutOfMemory);
  }
  if (!headers) return Fail(fault == pe::HeaderFault::kTooShort ? kErrorInvalidData : kErrorBadExeFormat);
  if (!SectionsFillTheImage(*headers, services.pageSize)) return Fail(kErrorBadExeFormat);

  const uint64_t imageSize = AlignUp(headers->sizeOfImage, services.pageSize);
  if (imageSize > SIZE_MAX) return Fail(kErrorOutOfMemory);
  const auto mappedSize = static_cast<size_t>(imageSize);
  void* base = nullptr;
  if (headers->imageBase <= UINTPTR_MAX) {
    base = services.allocate(reinterpret_cast<void*>(static_cast<uintptr_t>(headers->imageBase)), mappedSize, true,
                             services.user);
  }
  if (base == nullptr) base = services.allocate(nullptr, mappedSize, true, services.user);
  if (base == nullptr) return Fail(kErrorOutOfMemory);
  // A 32-bit image's addresses must fit in 32 bits (on a 64-bit host, in tests).
  if (!headers->is64 && reinterpret_cast<uintptr_t>(base) + uint64_t{mappedSize} > (uint64_t{1} << 32)) {
    services.release(base, mappedSize, true, services.user);
    return Fail(kErrorOutOfMemory);
  }

  auto* module = new (std::nothrow) MemoryModule();
  if (module == nullptr) {
    services.release(base, mappedSize, true, services.user);
    return Fail(kErrorOutOfMemory);
  }
  module->services = services;
  module->headers = std::move(*headers);
  module->base = static_cast<uint8_t*>(base);
  module->mappedSize = mappedSize;
  module->isDll = (module->headers.fileCharacteristics & pe::kFileIsDll) != 0;
  uint32_t error;
  try {
    error = BuildImage(*module, raw);
  } catch (const std::bad_alloc&) {
    error = kErrorOutOfMemory;
  }
  if (error) {
    ReleaseMemoryModule(module);
    return Fail(error);
  }
  return module;
}

void* FindMemoryModuleExport(MemoryModule* module, const char* nameOrOrdinal) {
  if (module == nullptr || module->functions.empty() || module->names.empty()) return Fail(kErrorProcNotFound);
  uint64_t index;
  if (reinterpret_cast<uintptr_t>(nameOrOrdinal) < 0x10000) {
    const auto ordinal = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(nameOrOrdinal));
    if (ordinal < module->ordinalBase) return Fail(kErrorProcNotFound);
    index = ordinal - module->ordinalBase;
  } else {
    const auto& names = module->names;
    const std::string_view name(nameOrOrdinal);
    const auto found = std::lower_bound(names.begin(), names.end(), name,
                                        [](const auto& entry, std::string_view n) { return entry.first < n; });
    if (found == names.end() || found->first != name) return Fail(kErrorProcNotFound);
    index = found->second;
  }
  if (index >= module->functions.size()) return Fail(kErrorProcNotFound);
  const uint32_t address = module->functions[index];
  const pe::DataDirectory& directory = module->exportDirectory;
  if (address >= directory.address && address - directory.address < directory.size) {
    return Fail(kErrorProcNotFound);  // forwarded to another library: no code here
  }
  return module->base + address;
}

void ReleaseMemoryModule(MemoryModule* module) {
  if (module == nullptr) return;
  const MemoryModuleServices& s = module->services;
  // The TLS callbacks are told of the detach too, before the entry point, as
  // the system loader does: a runtime undoes there what it set up at attach
  // (winpthreads removes its vectored exception handler, which would be
  // called in freed memory at the process's next exception).
  if (module->tlsAttached) RunTlsCallbacks(*module, 0);
  if (module->initialised) s.callEntry(module->base + module->headers.entryPoint, module->base, 0, s.user);
  if (module->unwindTable != nullptr) s.removeUnwindTable(module->unwindTable, s.user);
  for (void* library : module->libraries) s.freeLibrary(library, s.user);
  s.release(module->base, module->mappedSize, true, s.user);
  delete module;
}

void* MemoryModuleBase(const MemoryModule* module) { return module != nullptr ? module->base : nullptr; }

uint32_t LastMemoryModuleError() { return lastError; }

}  // namespace vlmr::platform
