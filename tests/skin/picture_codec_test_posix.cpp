#include "skin/picture_codec.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_test_support.h"
#include "support/temp_dir.h"

namespace vlmr::skin {
namespace {

constexpr uint32_t kRed = 0xFF0000FF, kBlue = 0x0000FFFF, kClear = 0;

int AppendBytes(GifFileType* gif, const GifByteType* data, int n) {
  static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), n);
  return n;
}

struct GifFrame {
  int left, top, width, height;
  std::vector<GifByteType> indices;  // width * height palette indices
  int delayCs, disposal, transparent;
};

// Encodes a 4 x 4 GIF with the palette {red, blue, green, black}.
std::string EncodeGif(const std::vector<GifFrame>& frames) {
  std::string out;
  int error;
  GifFileType* gif = EGifOpen(&out, AppendBytes, &error);
  GifColorType colours[4] = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {0, 0, 0}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, 4, 4, 8, 0, map);
  for (const auto& f : frames) {
    GraphicsControlBlock gcb{f.disposal, false, f.delayCs, f.transparent};
    GifByteType extension[4];
    size_t length = EGifGCBToExtension(&gcb, extension);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension);
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, nullptr);
    for (int row = 0; row < f.height; ++row) {
      EGifPutLine(gif, const_cast<GifByteType*>(&f.indices[row * f.width]), f.width);
    }
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

TEST(PictureCodec, PngRoundTripsThroughWriteAndDecode) {
  std::string png = test::SolidPng(3, 2, 0x11223344);
  auto picture = DecodePng(png);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 3);
  EXPECT_EQ(picture->height, 2);
  EXPECT_EQ(picture->PixelRgba(2, 1), 0x11223344u);
  EXPECT_EQ(picture->PixelRgba(3, 0), 0u);  // outside
}

TEST(PictureCodec, RefusesDamagedOrForeignData) {
  std::string png = test::SolidPng(8, 8, kRed);
  EXPECT_FALSE(DecodePng(png.substr(0, png.size() / 2)));
  EXPECT_FALSE(DecodePng("not a picture"));
  EXPECT_FALSE(DecodeGif("GIF89a\x04"));
  EXPECT_FALSE(DecodeAnyPicture(""));
  auto still = DecodeAnyPicture(png);
  ASSERT_TRUE(still);
  EXPECT_EQ(still->frames.size(), 1u);
  EXPECT_EQ(still->MsUntilNextFrame(0), -1);
}

TEST(PictureCodec, GifFramesAreComposedWithTransparencyAndDisposal) {
  GifFrame full{0, 0, 4, 4, std::vector<GifByteType>(16, 0), 5, DISPOSE_DO_NOT, NO_TRANSPARENT_COLOR};
  // A 2 x 2 patch at (1, 1): blue, transparent, blue, blue; cleared afterwards.
  GifFrame patch{1, 1, 2, 2, {1, 3, 1, 1}, 0, DISPOSE_BACKGROUND, 3};
  GifFrame nothing{0, 0, 1, 1, {3}, 7, DISPOSE_DO_NOT, 3};
  auto animation = DecodeGif(EncodeGif({full, patch, nothing}));
  ASSERT_TRUE(animation);
  ASSERT_EQ(animation->frames.size(), 3u);

  const Picture& second = animation->frames[1].picture;
  EXPECT_EQ(second.PixelRgba(0, 0), kRed);
  EXPECT_EQ(second.PixelRgba(1, 1), kBlue);
  EXPECT_EQ(second.PixelRgba(2, 1), kRed);  // transparent index shows the frame below
  EXPECT_EQ(second.PixelRgba(2, 2), kBlue);

  const Picture& third = animation->frames[2].picture;
  EXPECT_EQ(third.PixelRgba(1, 1), kClear);  // the patch's area went back to background
  EXPECT_EQ(third.PixelRgba(3, 3), kRed);

  EXPECT_EQ(animation->frames[0].delayMs, 50);
  EXPECT_EQ(animation->frames[1].delayMs, 100);  // no delay given: the usual 100 ms
  EXPECT_EQ(animation->frames[2].delayMs, 70);
  EXPECT_EQ(animation->FrameIndexAt(0), 0u);
  EXPECT_EQ(animation->FrameIndexAt(60), 1u);
  EXPECT_EQ(animation->FrameIndexAt(219), 2u);
  EXPECT_EQ(animation->FrameIndexAt(220 + 10), 0u);  // loops
  EXPECT_EQ(animation->MsUntilNextFrame(60), 90);
}

TEST(PictureCodec, WritePngReportsAFolderThatIsMissing) {
  test::TempDir dir;
  Picture picture{1, 1, {1, 2, 3, 4}};
  std::string why;
  EXPECT_FALSE(WritePng(picture, dir / "missing" / "x.png", &why));
  EXPECT_FALSE(why.empty());
}

}  // namespace
}  // namespace vlmr::skin
