// Pictures of the skin: PNG through libpng, animated GIF through giflib, both
// decoded to straight RGBA bytes (R, G, B, A in memory order).
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vlmr::skin {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // width * height * 4 bytes, rows top to bottom

  uint32_t PixelRgba(int x, int y) const;  // 0xRRGGBBAA; 0 outside
};

struct AnimationFrame {
  Picture picture;
  int delayMs = 100;
};

// A still picture is an animation of one frame.
struct Animation {
  std::vector<AnimationFrame> frames;
  int TotalMs() const;
  // The index of the frame shown `elapsedMs` after the animation started, looping.
  size_t FrameIndexAt(int64_t elapsedMs) const;
  // Milliseconds from `elapsedMs` until the next frame change (-1: never).
  int64_t MsUntilNextFrame(int64_t elapsedMs) const;
};

bool LooksLikePng(std::string_view bytes);
bool LooksLikeGif(std::string_view bytes);

// Nullopt for malformed data or a picture of more than 16384 pixels a side.
std::optional<Picture> DecodePng(std::string_view bytes);
// Frames fully composed (disposal and transparency applied).
std::optional<Animation> DecodeGif(std::string_view bytes);
// A PNG or a GIF, by its leading bytes.
std::optional<Animation> DecodeAnyPicture(std::string_view bytes);

// Writes an 8-bit RGBA PNG; false with the reason in *why on failure.
bool WritePng(const Picture& picture, const std::filesystem::path& path, std::string* why);

}  // namespace vlmr::skin
