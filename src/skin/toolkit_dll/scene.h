// What the toolkit's controls show in one top-level window: their tree, a
// back buffer they are all painted into bottom-up, and the pointer state.
// Every window of a control (and the top-level window itself, through the
// general command entry) shows its own rectangle of that back buffer, so
// controls overlap and blend exactly as in one picture, whichever window
// Windows paints first.
//
// Redraw requests come from any thread and never wait: at most one is posted
// at a time to the toolkit's message window on the UI thread, which renders
// once and invalidates the window with all its children.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "skin/control.h"
#include "skin/pointer_input.h"
#include "skin/toolkit_dll/scene_painter.h"

namespace vlmr::skin::toolkit {

class Scene final : public Surface {
 public:
  Scene(HWND root, HWND messageWindow) : root_(root), messageWindow_(messageWindow) {}
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;
  ~Scene() override;

  // Any thread.
  void RequestRedraw() override;

  // ---- UI thread ----
  int NextZOrder() { return nextZOrder_++; }
  void AddRoot(Control* control);
  // Forgets a control that is being destroyed.
  void Forget(Control* control);
  // The posted redraw (or the animation's timer) has arrived.
  void OnRedraw();
  // Copies the back buffer's part under `window` (the root or a window
  // inside it) into the window's device context; false when there is no
  // back buffer to copy.
  bool PaintInto(HWND window, HDC dc);
  // Pointer events at a window inside the root, in that window's coordinates.
  void PointerMoved(HWND window, int x, int y);
  void PointerPressed(HWND window, int x, int y);
  void PointerReleased(HWND window, int x, int y);  // may destroy every control
  void PointerPressCancelled();
  void PointerLeft();

 private:
  POINT ToRoot(HWND window, int x, int y) const;
  bool EnsureBackBuffer(int width, int height);
  void Render();

  const HWND root_;
  const HWND messageWindow_;
  std::vector<Control*> roots_;  // topmost first
  PointerInput pointer_;
  ScenePainter painter_;
  int nextZOrder_ = 0;

  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  void* bits_ = nullptr;
  int width_ = 0, height_ = 0;

  std::atomic<bool> dirty_{true};
  std::atomic<bool> queued_{false};
};

// The toolkit's message window (UI thread, made on first use) and the
// message a posted redraw carries (lParam: the scene).
HWND ToolkitMessageWindow();
inline constexpr UINT kRedrawMessage = WM_APP + 0x4C;

// The scene of a top-level window, made on first use (UI thread).
Scene& SceneFor(HWND root);
// The scene of a top-level window; null for a window without one.
Scene* FindScene(HWND root);

}  // namespace vlmr::skin::toolkit
