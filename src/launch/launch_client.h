// The client launch, the last step of every successful update run (on the
// update worker thread): puts the chosen damage-style data file in place,
// writes the screen size into Corvane.INI, and starts CorvaneQXT.EXE with a
// command line built from the settings record.
#pragma once

namespace vlmr::launch {

// Never shows a message box and never waits for the client. What cannot be
// done (client configuration left as it was, client not started) is said in
// one line on standard error.
void LaunchClient();

}  // namespace vlmr::launch
