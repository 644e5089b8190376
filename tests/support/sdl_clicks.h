// Mouse clicks for tests of SDL windows, pushed through SDL's event queue.
#pragma once

#include <cstdint>

namespace vlmr::test {

// Pushes a left-button press and release at window coordinates (x, y) of the
// SDL window `nativeWindowId` into SDL's event queue. The window system takes
// them when it next processes its pending messages.
void PushLeftClick(uint32_t nativeWindowId, int x, int y);
// The same, with the press at (fromX, fromY) and the release at (toX, toY).
void PushLeftDrag(uint32_t nativeWindowId, int fromX, int fromY, int toX, int toY);

}  // namespace vlmr::test
