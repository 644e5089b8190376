// The module the launcher carries: its packed layout, and bytes that do not
// fit the layout taken as they stand.
#include "component/module_unpacking.h"

#include <gtest/gtest.h>

#include <string>

#include "component/embedded_module.h"

namespace vlmr::component {
namespace {

uint32_t Word(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(ModuleUnpacking, TheCarriedModuleIsLzmaPackedInTheOneCallLayout) {
  const std::string_view packed = EmbeddedPackedModule();
  ASSERT_GT(packed.size(), 13u);
  EXPECT_EQ(Word(packed, 0), 5u);                      // properties length
  EXPECT_EQ(static_cast<unsigned char>(packed[4]), 0x5Du);  // lc 3, lp 0, pb 2
  EXPECT_EQ(Word(packed, 5), 16u * 1024 * 1024);      // dictionary
  const std::string module = UnpackModule(packed);
  EXPECT_EQ(Word(packed, 9), module.size());           // the module's own size
  EXPECT_EQ(module.substr(0, 4), "\x7F" "ELF");
  EXPECT_LT(packed.size(), module.size() / 2);
}

TEST(ModuleUnpacking, BytesThatDoNotFitTheLayoutAreTakenAsTheyStand) {
  const std::string packed(EmbeddedPackedModule());
  std::string otherPropertiesLength = packed;
  otherPropertiesLength[0] = 6;
  std::string largerSize = packed;
  largerSize[9] = static_cast<char>(largerSize[9] + 1);
  std::string damagedStream = packed;
  for (size_t i = 20; i < 60; ++i) damagedStream[i] = static_cast<char>(~damagedStream[i]);
  for (const std::string& bytes : {std::string(), std::string("MZ short"), otherPropertiesLength,
                                   largerSize, damagedStream, packed.substr(0, packed.size() / 2)}) {
    EXPECT_EQ(UnpackModule(bytes), bytes);
  }
}

}  // namespace
}  // namespace vlmr::component
