#include "skin/toolkit_dll/pictures.h"

#include <shlwapi.h>

#include <algorithm>
#include <numeric>

namespace vlmr::skin::toolkit {
namespace {

// Browsers show GIF frames of 0 or 10 ms for 100 ms; so do we.
constexpr int kShortestDelayMs = 20;
constexpr int kDefaultDelayMs = 100;

// GDI+ reads the picture from a stream that it may keep: the stream holds its
// own copy of the bytes.
struct StreamRelease {
  void operator()(IStream* stream) const { stream->Release(); }
};

std::vector<int> FrameDelays(Gdiplus::Bitmap& source, UINT count) {
  std::vector<int> delays(count, kDefaultDelayMs);
  UINT size = source.GetPropertyItemSize(PropertyTagFrameDelay);
  if (size == 0) return delays;
  std::vector<uint8_t> buffer(size);
  auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
  if (source.GetPropertyItem(PropertyTagFrameDelay, size, item) != Gdiplus::Ok) return delays;
  auto* hundredths = static_cast<const LONG*>(item->value);
  UINT known = std::min<UINT>(count, item->length / sizeof(LONG));
  for (UINT i = 0; i < known; ++i) {
    int ms = static_cast<int>(hundredths[i]) * 10;
    delays[i] = ms < kShortestDelayMs ? kDefaultDelayMs : ms;
  }
  return delays;
}

// A premultiplied copy of the frame the source shows now.
std::unique_ptr<Gdiplus::Bitmap> CopyFrame(Gdiplus::Bitmap& source, int width, int height) {
  auto frame = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppPARGB);
  if (frame->GetLastStatus() != Gdiplus::Ok) return nullptr;
  Gdiplus::Graphics graphics(frame.get());
  graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  if (graphics.DrawImage(&source, 0, 0, width, height) != Gdiplus::Ok) return nullptr;
  return frame;
}

}  // namespace

size_t PictureFrames::FrameAt(int64_t elapsedMs) const {
  if (frames.size() < 2) return 0;
  int64_t loop = std::accumulate(delaysMs.begin(), delaysMs.end(), int64_t{0});
  int64_t at = elapsedMs % loop;
  for (size_t i = 0; i < delaysMs.size(); ++i) {
    if (at < delaysMs[i]) return i;
    at -= delaysMs[i];
  }
  return 0;
}

int64_t PictureFrames::MsUntilNextFrame(int64_t elapsedMs) const {
  if (frames.size() < 2) return -1;
  int64_t loop = std::accumulate(delaysMs.begin(), delaysMs.end(), int64_t{0});
  int64_t at = elapsedMs % loop;
  for (int delay : delaysMs) {
    if (at < delay) return delay - at;
    at -= delay;
  }
  return 1;
}

std::optional<PictureFrames> DecodePicture(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > UINT_MAX) return std::nullopt;
  std::unique_ptr<IStream, StreamRelease> stream(
      SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!stream) return std::nullopt;
  Gdiplus::Bitmap source(stream.get());
  if (source.GetLastStatus() != Gdiplus::Ok) return std::nullopt;
  PictureFrames picture;
  picture.width = static_cast<int>(source.GetWidth());
  picture.height = static_cast<int>(source.GetHeight());
  if (picture.width <= 0 || picture.height <= 0) return std::nullopt;
  GUID time = Gdiplus::FrameDimensionTime;
  UINT count = std::max<UINT>(1, source.GetFrameCount(&time));
  picture.delaysMs = FrameDelays(source, count);
  for (UINT i = 0; i < count; ++i) {
    if (count > 1 && source.SelectActiveFrame(&time, i) != Gdiplus::Ok) return std::nullopt;
    auto frame = CopyFrame(source, picture.width, picture.height);
    if (!frame) return std::nullopt;
    picture.frames.push_back(std::move(frame));
  }
  return picture;
}

}  // namespace vlmr::skin::toolkit
