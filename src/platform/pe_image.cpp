#include "platform/pe_image.h"

namespace vlmr::platform::pe {
namespace {

constexpr uint16_t kMachineAmd64 = 0x8664;

// Offsets inside the NT headers, which start with the signature (4 bytes),
// then the file header (20 bytes), then the optional header.
constexpr size_t kFileHeader = 4;
constexpr size_t kOptionalHeader = 24;

void ReadDirectories(Bytes image, size_t at, uint32_t count, Headers& headers) {
  for (uint32_t i = 0; i < count && i < 16; ++i) {
    headers.directories[i] = {image.Read<uint32_t>(at + 8 * i), image.Read<uint32_t>(at + 8 * i + 4)};
  }
}

}  // namespace

std::optional<Headers> ReadHeaders(Bytes image, uint16_t machine, HeaderFault* fault) {
  *fault = HeaderFault::kTooShort;
  if (!image.Holds(0, kDosHeaderSize)) return std::nullopt;
  *fault = HeaderFault::kBadFormat;
  if (image.Read<uint16_t>(0) != kDosMagic) return std::nullopt;

  Headers h{};
  h.ntOffset = image.Read<uint32_t>(0x3C);
  h.is64 = machine == kMachineAmd64;
  *fault = HeaderFault::kTooShort;
  if (!image.Holds(h.ntOffset, h.NtHeadersSize())) return std::nullopt;
  const size_t file = h.ntOffset + kFileHeader;
  const size_t optional = h.ntOffset + kOptionalHeader;
  h.machine = image.Read<uint16_t>(file);
  h.sectionAlignment = image.Read<uint32_t>(optional + 32);
  *fault = HeaderFault::kBadFormat;
  if (image.Read<uint32_t>(h.ntOffset) != kNtSignature || h.machine != machine || h.sectionAlignment % 2 != 0 ||
      (image.Read<uint16_t>(optional) == kOptionalMagic64) != h.is64) {
    return std::nullopt;
  }

  const uint16_t sectionCount = image.Read<uint16_t>(file + 2);
  const uint16_t optionalSize = image.Read<uint16_t>(file + 16);
  h.fileCharacteristics = image.Read<uint16_t>(file + 18);
  h.entryPoint = image.Read<uint32_t>(optional + 16);
  h.sizeOfInitialisedData = image.Read<uint32_t>(optional + 8);
  h.sizeOfUninitialisedData = image.Read<uint32_t>(optional + 12);
  h.imageBase = h.is64 ? image.Read<uint64_t>(optional + 24) : image.Read<uint32_t>(optional + 28);
  h.sizeOfImage = image.Read<uint32_t>(optional + 56);
  h.sizeOfHeaders = image.Read<uint32_t>(optional + 60);
  const size_t directories = optional + (h.is64 ? 112 : 96);
  ReadDirectories(image, directories, image.Read<uint32_t>(directories - 4), h);

  h.sectionTable = static_cast<uint32_t>(optional + optionalSize);
  *fault = HeaderFault::kTooShort;
  if (!image.Holds(h.sectionTable, uint64_t{sectionCount} * kSectionHeaderSize)) return std::nullopt;
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const size_t at = h.sectionTable + i * kSectionHeaderSize;
    h.sections.push_back({image.Read<uint32_t>(at + 12), image.Read<uint32_t>(at + 16),
                          image.Read<uint32_t>(at + 20), image.Read<uint32_t>(at + 36)});
  }
  *fault = HeaderFault::kNone;
  return h;
}

}  // namespace vlmr::platform::pe
