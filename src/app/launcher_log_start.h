// Where the launcher keeps its log, decided once the program directory (the
// game folder) is known: ".vlmr/launcher.log" there, beside the launcher's
// other files, or "launcher.log" in the user's state folder when the game
// folder cannot be written.
#pragma once

#include <string>

namespace vlmr::app {

// Opens the log in the game folder, else in the user's state folder, and
// writes its first line. Returns the log's native path; empty when neither
// place can be written (the launcher then runs without a log).
std::string StartLauncherLog(const std::string& gbkProgramDirectory);

}  // namespace vlmr::app
