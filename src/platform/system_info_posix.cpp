#include "platform/system_info.h"

#include <pwd.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>

#include <vector>

namespace vlmr::platform {

uint32_t TickCount() {
  // CLOCK_BOOTTIME keeps counting through suspend, as GetTickCount does.
  timespec now{};
  if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t milliseconds = static_cast<uint64_t>(now.tv_sec) * 1000u +
                          static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(milliseconds);
}

std::string ExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<size_t>(length));
    }
    buffer.resize(buffer.size() * 2);  // the link may have been cut short
  }
}

bool SetCurrentDirectoryNative(const std::string& nativeDirectory) {
  return !nativeDirectory.empty() && chdir(nativeDirectory.c_str()) == 0;
}


std::string UserStateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::string(state) + "/vlmr";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = getpwuid(getuid());
    home = user ? user->pw_dir : nullptr;
  }
  return home ? std::string(home) + "/.local/state/vlmr" : std::string();
}

namespace {

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

}  // namespace

// Without a display SDL would fall back to drawing offscreen, and the launcher
// would run on unseen; an explicit SDL_VIDEODRIVER is the caller's own choice.
bool HasDesktop() {
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("SDL_VIDEODRIVER");
}

}  // namespace vlmr::platform
