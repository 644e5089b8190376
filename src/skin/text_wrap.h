// Breaks text into lines no wider than a given width: always at "\r\n" and
// "\n", else between Latin words at their spaces and between any two other
// characters (Chinese text has no spaces), never before closing punctuation.
// A word wider than the width on its own is cut between its characters.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vlmr::skin {

// Width in pixels of UTF-8 text drawn on one line.
using TextWidth = std::function<int(std::string_view utf8)>;

// UTF-8 in, UTF-8 lines out, without their breaks and trailing spaces; an
// empty line stays as an empty string.
std::vector<std::string> WrapText(std::string_view utf8, int maxWidth, const TextWidth& width);

}  // namespace vlmr::skin
