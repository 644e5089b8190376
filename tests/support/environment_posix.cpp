#include "support/environment.h"

#include <cstdlib>

namespace vlmr::test {

void SetEnvironment(const char* name, const char* value) { setenv(name, value, 1); }
void UnsetEnvironment(const char* name) { unsetenv(name); }

}  // namespace vlmr::test
