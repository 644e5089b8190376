// Pictures of the skins decoded with GDI+: a PNG (alpha kept) or a GIF, whose
// frames are composed by GDI+ and kept as separate premultiplied bitmaps with
// their display times, so painting a frame is one draw.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace vlmr::skin::toolkit {

struct PictureFrames {
  std::vector<std::unique_ptr<Gdiplus::Bitmap>> frames;
  std::vector<int> delaysMs;  // how long each frame stays; one entry per frame
  int width = 0, height = 0;

  // The frame shown `elapsedMs` after the first paint (animations loop).
  size_t FrameAt(int64_t elapsedMs) const;
  // Milliseconds until the frame after the one at `elapsedMs`; -1 when still.
  int64_t MsUntilNextFrame(int64_t elapsedMs) const;
};

// Nullopt when the bytes are no picture GDI+ can read.
std::optional<PictureFrames> DecodePicture(std::string_view bytes);

}  // namespace vlmr::skin::toolkit
