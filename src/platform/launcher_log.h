// The launcher's log for support: one file of timestamped UTF-8 lines, kept
// small by rotation (the full file becomes "<name>.1", replacing the one
// before), written from any thread. Where it lives is decided at start-up by
// whoever opens it; until then, and when it cannot be opened, lines go only
// where else they are written (standard error).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vlmr::platform {

// The size past which the log is rotated: it and its one older file hold at
// most twice this (plus a line).
inline constexpr int64_t kLogRotateBytes = int64_t{1} << 20;

// Starts logging to `nativePath` (created or appended to), closing any log
// open before. False with the system's reason in *why when it cannot be opened.
bool OpenLog(const std::string& nativePath, std::string* why = nullptr,
             int64_t rotateBytes = kLogRotateBytes);
// Stops logging; later lines are not kept.
void CloseLog();

// Appends "<local time> <line>" to the log when one is open. Line breaks in
// the line become blanks; user names and passwords in URLs are left out.
void Log(std::string_view utf8Line);

// "<source>: <line>" on standard error and in the log, without URL
// credentials: the launcher's notes for whoever runs it or reads its log.
void Say(std::string_view source, std::string_view utf8Line);

}  // namespace vlmr::platform
