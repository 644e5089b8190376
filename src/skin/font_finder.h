// Finds a font file that covers Chinese text, through fontconfig, so captions
// render on any distribution (Debian: fonts-wqy-microhei).
#pragma once

#include <optional>
#include <string>

namespace vlmr::skin {

struct FontFile {
  std::string path;  // native path
  int index = 0;     // face index inside a collection (.ttc)
};

// The best sans-serif face for simplified Chinese that has the glyphs of
// "中文"; any face with them when no sans-serif one does. Looked up once per
// process. Nullopt when the system has none.
std::optional<FontFile> FindCjkFont();

}  // namespace vlmr::skin
