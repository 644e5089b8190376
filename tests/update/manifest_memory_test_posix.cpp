// The manifest decoder within a capped address space (RLIMIT_AS): a generous
// size word reserves nothing up front, and a bomb stops at the launcher's cap.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <string>

#include "runtime/rt_heap.h"
#include "update/manifest.h"
#include "update/repeated_letter_container.h"

namespace vlmr::update {
namespace {

std::vector<ManifestEntry> Decode(const std::string& body) {
  rt::Bytes bytes(rt::NewByteArray(body.data(), static_cast<int64_t>(body.size())));
  return DecodeManifest(bytes.get());
}

#if !defined(__SANITIZE_ADDRESS__)
// With the address space capped at 1 GiB the decoder must still finish: a
// generous size word reserves nothing up front, and a text that really grows
// past the launcher's cap is refused when it gets there.
void DecodeWithinOneGibibyte(const std::string& body, size_t expectedEntries) {
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = rlim_t{1} << 30;
  setrlimit(RLIMIT_AS, &limit);
  std::exit(Decode(body).size() == expectedEntries ? 0 : 1);
}

TEST(DecodeManifestDeathTest, NeitherAHugeSizeWordNorABombTakesAGibibyte) {
  EXPECT_EXIT(DecodeWithinOneGibibyte(EncodeManifestContainer("p\tm\tu\r\n", 0x3FFFFFFFu), 1),
              testing::ExitedWithCode(0), "");
  // About 300 KB that inflate to more than 256 MiB of text, size word 2 GiB.
  EXPECT_EXIT(DecodeWithinOneGibibyte(RepeatedLetterContainer(kMaxManifestText + 1, 0x40000000u - 1), 0),
              testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
}  // namespace vlmr::update
