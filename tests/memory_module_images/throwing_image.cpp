// A DLL with the C and C++ runtimes linked in, the in-memory loader's test
// data for the system's own loading: its runtime's TLS callbacks and entry
// point run, its imports come from the system, and on x86-64 a C++ exception
// can only pass through its code when its unwind table is registered.
#include <stdexcept>
#include <string>

extern "C" __declspec(dllexport) int CatchesItsOwnException(int value) {
  try {
    if (value >= 0) throw std::runtime_error(std::to_string(value));
  } catch (const std::runtime_error& error) {
    return static_cast<int>(std::stoi(error.what())) + 1;
  }
  return 0;
}
