// Replacing one line of a multi-line text (lines separated by "\r\n").
#pragma once

#include <cstdint>

#include "runtime/rt_blocks.h"

namespace vlmr::launch {

// The text with line n (1-based) replaced by `newLine`, lines joined by
// "\r\n" with none after the last (a trailing line break disappears; empty
// lines between breaks stay). The empty text when the text has fewer than n
// lines or n < 1.
rt::Text ReplaceLine(const char* text, int32_t n, const char* newLine);

}  // namespace vlmr::launch
