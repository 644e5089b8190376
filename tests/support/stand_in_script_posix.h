// The stand-in client on POSIX: a shell script that records its working
// directory, then one argument per line, into client-run.txt beside itself,
// moved into place last so that a reader never sees half of it.
#pragma once

#include <string_view>

namespace vlmr::test {

inline constexpr std::string_view kStandInClient =
    "#!/bin/sh\n"
    "record=\"$(dirname \"$0\")/client-run\"\n"
    "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$record.part\"\n"
    "mv \"$record.part\" \"$record.txt\"\n";

}  // namespace vlmr::test
