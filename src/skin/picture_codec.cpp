#include "skin/picture_codec.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace vlmr::skin {
namespace {

constexpr int kMaxSide = 16384;
constexpr size_t kMaxAnimationBytes = size_t{256} << 20;
constexpr int kDefaultDelayMs = 100;

struct GifSource {
  std::string_view bytes;
  size_t pos = 0;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int wanted) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  size_t n = std::min(static_cast<size_t>(std::max(wanted, 0)), source->bytes.size() - source->pos);
  std::memcpy(out, source->bytes.data() + source->pos, n);
  source->pos += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error;
    DGifCloseFile(gif, &error);
  }
};

// Paints one GIF image onto the canvas, leaving its transparent index alone.
void PaintGifImage(const GifFileType& gif, const SavedImage& image, int transparentIndex,
                   Picture& canvas) {
  const ColorMapObject* colours = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap
                                                           : gif.SColorMap;
  if (!colours) return;
  const GifImageDesc& d = image.ImageDesc;
  for (int row = 0; row < d.Height; ++row) {
    int y = d.Top + row;
    if (y < 0 || y >= canvas.height) continue;
    for (int col = 0; col < d.Width; ++col) {
      int x = d.Left + col;
      if (x < 0 || x >= canvas.width) continue;
      int index = image.RasterBits[static_cast<size_t>(row) * d.Width + col];
      if (index == transparentIndex || index >= colours->ColorCount) continue;
      const GifColorType& c = colours->Colors[index];
      uint8_t* p = &canvas.rgba[(static_cast<size_t>(y) * canvas.width + x) * 4];
      p[0] = c.Red;
      p[1] = c.Green;
      p[2] = c.Blue;
      p[3] = 255;
    }
  }
}

void ClearRect(Picture& canvas, const GifImageDesc& d) {
  for (int y = std::max(d.Top, 0); y < std::min(d.Top + d.Height, canvas.height); ++y) {
    for (int x = std::max(d.Left, 0); x < std::min(d.Left + d.Width, canvas.width); ++x) {
      std::memset(&canvas.rgba[(static_cast<size_t>(y) * canvas.width + x) * 4], 0, 4);
    }
  }
}

}  // namespace

uint32_t Picture::PixelRgba(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

int Animation::TotalMs() const {
  int total = 0;
  for (const auto& frame : frames) total += frame.delayMs;
  return total;
}

size_t Animation::FrameIndexAt(int64_t elapsedMs) const {
  int total = TotalMs();
  if (frames.size() < 2 || total <= 0) return 0;
  int64_t t = elapsedMs % total;
  for (size_t i = 0; i < frames.size(); ++i) {
    if (t < frames[i].delayMs) return i;
    t -= frames[i].delayMs;
  }
  return frames.size() - 1;
}

int64_t Animation::MsUntilNextFrame(int64_t elapsedMs) const {
  int total = TotalMs();
  if (frames.size() < 2 || total <= 0) return -1;
  int64_t t = elapsedMs % total;
  for (const auto& frame : frames) {
    if (t < frame.delayMs) return frame.delayMs - t;
    t -= frame.delayMs;
  }
  return 1;
}

bool LooksLikePng(std::string_view bytes) {
  return bytes.size() >= 8 && std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) == 0;
}

bool LooksLikeGif(std::string_view bytes) {
  return bytes.size() >= 6 &&
         (bytes.substr(0, 6) == "GIF87a" || bytes.substr(0, 6) == "GIF89a");
}

std::optional<Picture> DecodePng(std::string_view bytes) {
  if (!LooksLikePng(bytes)) return std::nullopt;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    return std::nullopt;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide ||
      image.height > kMaxSide) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGBA;
  Picture picture;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return picture;
}

std::optional<Animation> DecodeGif(std::string_view bytes) {
  if (!LooksLikeGif(bytes)) return std::nullopt;
  GifSource source{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadGifBytes, &error));
  if (!gif || DGifSlurp(gif.get()) != GIF_OK) return std::nullopt;
  const int width = gif->SWidth, height = gif->SHeight;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
      gif->ImageCount <= 0) {
    return std::nullopt;
  }
  size_t frameBytes = static_cast<size_t>(width) * height * 4;
  if (frameBytes * static_cast<size_t>(gif->ImageCount) > kMaxAnimationBytes) return std::nullopt;

  Animation animation;
  Picture canvas{width, height, std::vector<uint8_t>(frameBytes, 0)};
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    DGifSavedExtensionToGCB(gif.get(), i, &control);
    Picture before = control.DisposalMode == DISPOSE_PREVIOUS ? canvas : Picture{};
    PaintGifImage(*gif, image, control.TransparentColor, canvas);
    int delay = control.DelayTime * 10;
    animation.frames.push_back({canvas, delay >= 20 ? delay : kDefaultDelayMs});
    if (control.DisposalMode == DISPOSE_BACKGROUND) ClearRect(canvas, image.ImageDesc);
    if (control.DisposalMode == DISPOSE_PREVIOUS) canvas = std::move(before);
  }
  return animation;
}

std::optional<Animation> DecodeAnyPicture(std::string_view bytes) {
  if (LooksLikeGif(bytes)) return DecodeGif(bytes);
  auto picture = DecodePng(bytes);
  if (!picture) return std::nullopt;
  Animation still;
  still.frames.push_back({std::move(*picture), 0});
  return still;
}

bool WritePng(const Picture& picture, const std::filesystem::path& path, std::string* why) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_RGBA;
  if (png_image_write_to_file(&image, path.c_str(), 0, picture.rgba.data(), 0, nullptr)) {
    return true;
  }
  if (why) *why = image.message;
  png_image_free(&image);
  return false;
}

}  // namespace vlmr::skin
