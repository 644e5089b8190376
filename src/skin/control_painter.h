// Draws a window's control tree with an SDL renderer: pictures from the blob
// slots (decoded once, re-decoded when a slot is written), captions through the
// text renderer, the animated picture at the frame due. UI thread only.
#pragma once

#include <SDL2/SDL.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/control.h"
#include "skin/picture_codec.h"
#include "skin/text_renderer.h"

namespace vlmr::skin {

class ControlPainter {
 public:
  explicit ControlPainter(SDL_Renderer* renderer);
  ControlPainter(const ControlPainter&) = delete;
  ControlPainter& operator=(const ControlPainter&) = delete;
  ~ControlPainter();

  // Paints the top-level controls (topmost first) bottom-up over a window of
  // the given size. `nowMs` times the animations.
  void Paint(const std::vector<Control*>& roots, int windowWidth, int windowHeight, int64_t nowMs);
  // Milliseconds until an animated picture painted last changes; -1 for none.
  int64_t MsUntilNextFrame() const { return nextFrameMs_; }

 private:
  struct CachedPicture {
    std::shared_ptr<const std::string> source;
    std::optional<Animation> animation;
    std::vector<SDL_Texture*> textures;  // one per frame
  };
  struct CachedText {
    std::string utf8;
    int pixelSize = 0;
    bool bold = false;
    SDL_Texture* texture = nullptr;
    int width = 0, height = 0;
  };
  struct ControlCache {
    std::map<int, CachedPicture> pictures;  // by own property number
    CachedText text;
    std::optional<int64_t> firstPaintMs;
  };
  // A picture to draw: its texture and natural size.
  struct Sprite {
    SDL_Texture* texture = nullptr;
    int width = 0, height = 0;
  };

  void PaintTree(Control& control, SDL_Rect parentArea, int64_t nowMs);
  void PaintControl(Control& control, const PropertySet& properties, SDL_Rect area,
                    SDL_Rect parentArea, int64_t nowMs);
  void PaintButton(Control& control, const PropertySet& properties, SDL_Rect area, int64_t nowMs);
  void PaintChoicebox(Control& control, const PropertySet& properties, SDL_Rect area,
                      int64_t nowMs);
  void PaintProgressbar(Control& control, const PropertySet& properties, SDL_Rect area,
                        int64_t nowMs);
  void PaintCaption(Control& control, const PropertySet& properties, int textSlot,
                    int colourSlot, SDL_Rect box, int align, bool brighten);

  Sprite PictureFrame(Control& control, const PropertySet& properties, int own, int64_t nowMs);
  void DrawSprite(const Sprite& sprite, const SDL_Rect& destination, uint8_t alpha,
                  const SDL_Rect* source = nullptr);
  void FreePicture(CachedPicture& picture);

  SDL_Renderer* renderer_;
  TextRenderer text_;
  std::map<const Control*, ControlCache> caches_;
  int64_t nextFrameMs_ = -1;
};

}  // namespace vlmr::skin
