// The launcher window's own click handlers: start game, minimise and close,
// and the start button's enabled state.
#pragma once

namespace vlmr::app {

// Start game (按钮_游戏开始): when "CorvaneQXT.EXE" (a file or a directory)
// lies in the program directory, starts `updateRun` on a new thread and
// returns at once; otherwise tells the user to run the launcher from the
// game folder. The launcher passes the update run.
void StartGame(void (*updateRun)());

// Writes the start button's Disabled property; while it is true, clicks on
// the button raise no event. The start handler and the update run use it.
void SetStartDisabled(bool disabled);

// 按钮EX1: sends the window the minimise system command.
void MinimiseWindow();

// 按钮EX2: sends the window the close message; the message loop then ends.
void CloseWindow();

}  // namespace vlmr::app
