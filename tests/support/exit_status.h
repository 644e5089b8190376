// What a test sees of a process that ended with exit code -1 (the runtime's
// fatal end): 255 on POSIX, which keeps the low byte, and -1 on Windows.
#pragma once

namespace vlmr::test {

int ExitStatusOfMinusOne();

}  // namespace vlmr::test
