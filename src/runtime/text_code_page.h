// The code page of every conversion of a launcher text to UTF-16 (file paths
// handed to the wide-character file functions). The startup routine sets it
// to 936 (GBK); it starts at 936 so that helpers work before start-up too.
#pragma once

#include <atomic>
#include <cstdint>

namespace vlmr::rt {

inline std::atomic<int32_t> TextCodePage{936};

}  // namespace vlmr::rt
