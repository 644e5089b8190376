// What a message box shows and how it can be answered, from the platform's
// message-box flags: the buttons left to right (the first is the default),
// the icon, and the caption and text in UTF-8 for drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vlmr::skin {

enum class BoxIcon { None, Error, Warning, Question, Information };

struct BoxButton {
  int32_t answer;     // an rt::MessageBoxResult
  const char* label;  // UTF-8
};

struct BoxContent {
  std::string caption;  // UTF-8
  std::string text;     // UTF-8, lines broken at "\r\n" or "\n"
  std::vector<BoxButton> buttons;
  BoxIcon icon = BoxIcon::None;
};

// From the GBK texts a box is asked for with; null texts are empty.
BoxContent ContentOf(const char* gbkText, int32_t flags, const char* gbkCaption);
std::vector<BoxButton> ButtonsFor(int32_t flags);
// What closing the box without a button means: Cancel where there is one,
// else the last button (OK, No).
int32_t EscapeAnswer(const std::vector<BoxButton>& buttons);

}  // namespace vlmr::skin
