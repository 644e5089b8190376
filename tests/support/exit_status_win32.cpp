#include "support/exit_status.h"

namespace vlmr::test {

int ExitStatusOfMinusOne() { return -1; }

}  // namespace vlmr::test
