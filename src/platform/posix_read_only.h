// Windows' read-only attribute on POSIX permissions: the owner may not write.
// Checked explicitly because root may write any file, and the launcher must
// refuse it all the same.
#pragma once

#include <sys/stat.h>

namespace vlmr::platform {

inline bool HasReadOnlyAttribute(mode_t mode) { return (mode & S_IWUSR) == 0; }

}  // namespace vlmr::platform
