#include "skin/font_finder.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace vlmr::skin {
namespace {

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

bool CoversChinese(FcPattern* font) {
  FcCharSet* chars = nullptr;
  if (FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) != FcResultMatch) return false;
  return FcCharSetHasChar(chars, 0x4E2D) && FcCharSetHasChar(chars, 0x6587);  // 中文
}

std::optional<FontFile> FileOf(FcPattern* font) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
  int index = 0;
  FcPatternGetInteger(font, FC_INDEX, 0, &index);
  return FontFile{reinterpret_cast<const char*>(file), index};
}

std::optional<FontFile> LookUp() {
  if (!FcInit()) return std::nullopt;
  Pattern pattern(FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=zh-cn")));
  if (!pattern) return std::nullopt;
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result;
  std::unique_ptr<FcFontSet, FontSetDeleter> sorted(
      FcFontSort(nullptr, pattern.get(), FcFalse, nullptr, &result));
  if (!sorted) return std::nullopt;
  for (int i = 0; i < sorted->nfont; ++i) {
    if (CoversChinese(sorted->fonts[i])) return FileOf(sorted->fonts[i]);
  }
  return std::nullopt;
}

}  // namespace

std::optional<FontFile> FindCjkFont() {
  static const std::optional<FontFile> found = [] {
    std::optional<FontFile> file = LookUp();
    // Only the file name is kept: fontconfig's configuration and caches are
    // released right away instead of lying around until the process ends.
    FcFini();
    return file;
  }();
  return found;
}

}  // namespace vlmr::skin
