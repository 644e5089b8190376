// Loads the server component into the test process as start-up does: the
// runtime's notification to the component, which loads its module (unpacked
// into the run's private folder) and binds its commands. Once per process.
#pragma once

#include <cstdint>

#include "component/server_suite.h"
#include "runtime/runtime_libraries.h"

namespace vlmr::test {

inline void LoadServerSuite() {
  component::NotifyServerSuite(rt::kNotifyRuntimeCallback,
                               reinterpret_cast<intptr_t>(&rt::notify_runtime), 0);
}

}  // namespace vlmr::test
