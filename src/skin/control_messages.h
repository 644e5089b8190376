// Property access on a toolkit control by message, the same on every system:
// set or read an own property by number, or get all of the control's
// property data back as one block.
#pragma once

#include <cstdint>

#include "skin/control.h"

namespace vlmr::skin {

inline constexpr uint32_t kMessageSetProperty = 10241;  // value: the new value
inline constexpr uint32_t kMessageGetProperty = 10242;  // answer: the value
inline constexpr uint32_t kMessageGetAllData = 10243;   // answer: a new byte array
// The host window's own state, which a control painted by the toolkit follows:
// value 1 shown (enabled), 0 hidden (disabled).
inline constexpr uint32_t kMessageSetHostShown = 10244;
inline constexpr uint32_t kMessageSetHostEnabled = 10245;

// Values travel as one 64-bit word: an int or bool in the low half; a text as
// a pointer to GBK bytes (null: empty); a blob as a pointer to a runtime byte
// array (null: empty). Texts and blobs read are new runtime heap blocks owned
// by the caller. An invalid number or message is ignored and reads as 0.
// Safe from any thread.
uint64_t SendControlMessage(Control& control, uint32_t message, int32_t number, uint64_t value);

}  // namespace vlmr::skin
