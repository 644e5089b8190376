// The tick count on Linux: the boot clock, which counts through suspend as
// GetTickCount does.
#include <gtest/gtest.h>
#include <time.h>

#include "platform/system_info.h"

namespace vlmr::platform {
namespace {

TEST(SystemInfo, TickCountIsTheBootClockInMilliseconds) {
  timespec before{};
  clock_gettime(CLOCK_BOOTTIME, &before);
  uint32_t ticks = TickCount();
  timespec after{};
  clock_gettime(CLOCK_BOOTTIME, &after);
  auto ms = [](const timespec& t) {
    return static_cast<uint32_t>(static_cast<uint64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000);
  };
  EXPECT_LE(static_cast<uint32_t>(ticks - ms(before)), static_cast<uint32_t>(ms(after) - ms(before)));
}

}  // namespace
}  // namespace vlmr::platform
