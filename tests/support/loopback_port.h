// Ports of 127.0.0.1 for the servers the tests start.
#pragma once

namespace vlmr::test {

// A port nobody listens on now (the system's pick for an ephemeral bind);
// 0 when there is none.
int FreeLoopbackPort();
// Whether something accepts connections on the port.
bool LoopbackAccepts(int port);

}  // namespace vlmr::test
