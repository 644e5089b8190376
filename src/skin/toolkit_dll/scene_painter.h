// Draws a window's control tree with GDI+ onto the window's back buffer, the
// same way the SDL painter does: pictures from the blob slots (decoded once,
// again when a slot is written), captions in a CJK face, the animated picture
// at the frame due. UI thread only.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/control.h"
#include "skin/toolkit_dll/pictures.h"

namespace vlmr::skin::toolkit {

class ScenePainter {
 public:
  // Paints the top-level controls (topmost first) bottom-up. `nowMs` times
  // the animations.
  void Paint(Gdiplus::Graphics& graphics, const std::vector<Control*>& roots, int width,
             int height, int64_t nowMs);
  // Milliseconds until an animated picture painted last changes; -1 for none.
  int64_t MsUntilNextFrame() const { return nextFrameMs_; }
  // Drops what was cached for a control that is gone.
  void Forget(const Control* control) { caches_.erase(control); }

 private:
  struct CachedPicture {
    std::shared_ptr<const std::string> source;
    std::optional<PictureFrames> frames;
  };
  struct ControlCache {
    std::map<int, CachedPicture> pictures;  // by own property number
    std::optional<int64_t> firstPaintMs;
  };
  struct Sprite {
    Gdiplus::Bitmap* bitmap = nullptr;
    int width = 0, height = 0;
  };
  using Area = Gdiplus::Rect;

  void PaintTree(Control& control, Area parentArea);
  void PaintControl(Control& control, const PropertySet& properties, Area area, Area parentArea);
  void PaintButton(Control& control, const PropertySet& properties, Area area);
  void PaintChoicebox(Control& control, const PropertySet& properties, Area area);
  void PaintProgressbar(Control& control, const PropertySet& properties, Area area);
  void PaintCaption(const PropertySet& properties, int textSlot, int colourSlot, Area box,
                    int align, bool brighten);
  Sprite PictureFrame(Control& control, const PropertySet& properties, int own);
  void DrawSprite(const Sprite& sprite, const Area& destination, int alpha,
                  const Area* source = nullptr);

  Gdiplus::Graphics* graphics_ = nullptr;
  int64_t nowMs_ = 0;
  std::map<const Control*, ControlCache> caches_;
  int64_t nextFrameMs_ = -1;
};

}  // namespace vlmr::skin::toolkit
