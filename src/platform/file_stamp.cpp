#include "platform/file_stamp.h"

#include <chrono>

namespace vlmr::platform {

int64_t WallClockNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace vlmr::platform
