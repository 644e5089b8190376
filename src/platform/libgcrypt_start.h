// libgcrypt's one initialisation per process, for every part of the layer
// that uses it (signatures; on Windows also bulk MD5).
#pragma once

namespace vlmr::platform {

// Checks the library version and ends its initialisation, unless the program
// did so already; once per process, whichever thread asks first. False when
// the library cannot be used.
bool LibgcryptReady();

}  // namespace vlmr::platform
