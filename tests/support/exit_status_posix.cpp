#include "support/exit_status.h"

namespace vlmr::test {

int ExitStatusOfMinusOne() { return 255; }

}  // namespace vlmr::test
