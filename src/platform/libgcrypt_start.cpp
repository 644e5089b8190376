#include "platform/libgcrypt_start.h"

#include <gcrypt.h>

#include <cstdarg>
#include <cstdio>

namespace vlmr::platform {
namespace {

// The library's own notes (on Windows its random-number gatherer asks for disk
// statistics) are no business of the player's; its errors still show.
void KeepErrors(void*, int level, const char* format, va_list arguments) {
  if (level >= GCRY_LOG_ERROR) std::vfprintf(stderr, format, arguments);
}

// Keys here are public ones or the operator's own seed in a short-lived tool,
// so no secure-memory pool is set up.
bool StartLibgcrypt() {
  gcry_set_log_handler(&KeepErrors, nullptr);
  if (gcry_check_version(GCRYPT_VERSION) == nullptr) return false;
  if (!gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P)) {
    gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
    gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
  }
  return true;
}

}  // namespace

bool LibgcryptReady() {
  static const bool ready = StartLibgcrypt();
  return ready;
}

}  // namespace vlmr::platform
