#include "platform/system_info.h"

#include <system_error>
#include <thread>

namespace vlmr::platform {

bool StartDetachedThread(void (*routine)(intptr_t), intptr_t parameter) {
  if (routine == nullptr) return false;
  try {
    std::thread(routine, parameter).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace vlmr::platform
