// The face and text of the captions: GBK texts as UTF-16, drawn in the first
// CJK face the system has (Windows' own, or the faces Wine finds among the
// system's fonts).
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <string>
#include <string_view>

namespace vlmr::skin::toolkit {

// The caption face; looked up once (UI thread).
const Gdiplus::FontFamily* CaptionFamily();
std::wstring CaptionText(std::string_view gbk);

}  // namespace vlmr::skin::toolkit
