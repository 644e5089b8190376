// Keeps user names and passwords of URLs out of what the launcher writes
// down: a log line or a line on standard error may quote a URL, and a
// manifest or a staging address may carry "user:password@" in it.
#pragma once

#include <string>
#include <string_view>

namespace vlmr::platform {

// `text` with the userinfo ("user:password@") of every URL in it removed:
// whatever stands between "://" and the last "@" before the end of the host
// part (the first "/", "?", "#", blank or quote). Everything else is kept.
std::string WithoutUrlCredentials(std::string_view text);

}  // namespace vlmr::platform
