#include "skin/toolkit_dll/caption_font.h"

#include <memory>

#include "platform/codepage.h"
#include "platform/win32_text.h"

namespace vlmr::skin::toolkit {
namespace {

// Simplified-Chinese faces, the usual Windows ones first, then those of
// Linux distributions that Wine offers from the system's fonts.
constexpr const wchar_t* kFaces[] = {
    L"Microsoft YaHei", L"SimSun", L"NSimSun", L"WenQuanYi Micro Hei", L"Noto Sans CJK SC",
    L"Droid Sans Fallback", L"Tahoma",
};

std::unique_ptr<Gdiplus::FontFamily> FindFamily() {
  for (const wchar_t* face : kFaces) {
    auto family = std::make_unique<Gdiplus::FontFamily>(face);
    if (family->IsAvailable()) return family;
  }
  return std::unique_ptr<Gdiplus::FontFamily>(Gdiplus::FontFamily::GenericSansSerif()->Clone());
}

}  // namespace

const Gdiplus::FontFamily* CaptionFamily() {
  static const auto family = FindFamily();
  return family.get();
}

std::wstring CaptionText(std::string_view gbk) {
  return platform::win32::Wide(platform::GbkToUtf8(gbk));
}

}  // namespace vlmr::skin::toolkit
