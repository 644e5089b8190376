// The parts of a PE image (i386 PE32 and x86-64 PE32+) that the in-memory
// loader reads, taken out of the bytes with every offset checked against the
// bytes' size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace vlmr::platform::pe {

inline constexpr uint16_t kDosMagic = 0x5A4D;           // "MZ"
inline constexpr uint32_t kNtSignature = 0x00004550;    // "PE\0\0"
inline constexpr size_t kDosHeaderSize = 64;
inline constexpr size_t kNtHeadersSize32 = 248;
inline constexpr size_t kNtHeadersSize64 = 264;
inline constexpr size_t kSectionHeaderSize = 40;
inline constexpr uint16_t kOptionalMagic64 = 0x20B;
inline constexpr uint16_t kFileIsDll = 0x2000;

// Section characteristics.
inline constexpr uint32_t kSectionInitialisedData = 0x40;
inline constexpr uint32_t kSectionUninitialisedData = 0x80;
inline constexpr uint32_t kSectionDiscardable = 0x02000000;
inline constexpr uint32_t kSectionNotCached = 0x04000000;
inline constexpr uint32_t kSectionExecute = 0x20000000;
inline constexpr uint32_t kSectionRead = 0x40000000;
inline constexpr uint32_t kSectionWrite = 0x80000000;

enum Directory { kExports = 0, kImports = 1, kExceptions = 3, kRelocations = 5, kTls = 9 };

// A range of bytes that answers whether a piece lies inside it and reads
// little-endian numbers out of it.
struct Bytes {
  const uint8_t* data;
  size_t size;

  bool Holds(uint64_t offset, uint64_t length) const { return offset <= size && length <= size - offset; }
  template <typename T>
  T Read(uint64_t offset) const {
    T value;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
  }
  // The zero-terminated text at `offset`, when its terminator lies inside.
  const char* TextAt(uint64_t offset) const {
    if (offset >= size) return nullptr;
    return std::memchr(data + offset, 0, size - offset) ? reinterpret_cast<const char*>(data + offset) : nullptr;
  }
};

struct DataDirectory {
  uint32_t address = 0;
  uint32_t size = 0;
};

// An export directory's counts and table addresses.
struct ExportTable {
  uint32_t ordinalBase = 0;
  uint32_t functionCount = 0;
  uint32_t nameCount = 0;
  uint32_t functions = 0;
  uint32_t names = 0;
  uint32_t nameOrdinals = 0;
};

struct Section {
  uint32_t virtualAddress;
  uint32_t rawSize;
  uint32_t rawOffset;
  uint32_t characteristics;
};

struct Headers {
  uint32_t ntOffset;
  bool is64;
  uint16_t machine;
  uint16_t fileCharacteristics;
  uint64_t imageBase;
  uint32_t entryPoint;
  uint32_t sectionAlignment;
  uint32_t sizeOfImage;
  uint32_t sizeOfHeaders;
  uint32_t sizeOfInitialisedData;
  uint32_t sizeOfUninitialisedData;
  uint32_t sectionTable;  // offset of the first section header
  DataDirectory directories[16];
  std::vector<Section> sections;

  size_t PointerSize() const { return is64 ? 8 : 4; }
  size_t NtHeadersSize() const { return is64 ? kNtHeadersSize64 : kNtHeadersSize32; }
  uint32_t ImageBaseOffset() const { return ntOffset + (is64 ? 48 : 52); }
};

// Why the headers could not be read: as the loader reports it.
enum class HeaderFault { kNone, kTooShort, kBadFormat };

// Reads the headers of `image`, which must hold at least the DOS header,
// "MZ", the NT headers of the machine `machine` and its section table.
std::optional<Headers> ReadHeaders(Bytes image, uint16_t machine, HeaderFault* fault);

}  // namespace vlmr::platform::pe
