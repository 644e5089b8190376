// Setting and removing environment variables in tests, on every system.
#pragma once

namespace vlmr::test {

void SetEnvironment(const char* name, const char* value);
void UnsetEnvironment(const char* name);

}  // namespace vlmr::test
