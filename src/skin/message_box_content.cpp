#include "skin/message_box_content.h"

#include "platform/codepage.h"
#include "runtime/window_system.h"

namespace vlmr::skin {
namespace {

BoxIcon IconFor(int32_t flags) {
  switch (flags & 0xF0) {
    case rt::kMbIconError: return BoxIcon::Error;
    case rt::kMbIconWarning: return BoxIcon::Warning;
    case rt::kMbIconQuestion: return BoxIcon::Question;
    case rt::kMbIconInformation: return BoxIcon::Information;
    default: return BoxIcon::None;
  }
}

}  // namespace

BoxContent ContentOf(const char* gbkText, int32_t flags, const char* gbkCaption) {
  return {platform::GbkToUtf8(gbkCaption ? gbkCaption : ""),
          platform::GbkToUtf8(gbkText ? gbkText : ""), ButtonsFor(flags), IconFor(flags)};
}

std::vector<BoxButton> ButtonsFor(int32_t flags) {
  switch (flags & 0xF) {
    case rt::kMbOkCancel: return {{rt::kBoxOk, "确定"}, {rt::kBoxCancel, "取消"}};
    case rt::kMbAbortRetryIgnore:
      return {{rt::kBoxAbort, "中止"}, {rt::kBoxRetry, "重试"}, {rt::kBoxIgnore, "忽略"}};
    case rt::kMbYesNoCancel:
      return {{rt::kBoxYes, "是"}, {rt::kBoxNo, "否"}, {rt::kBoxCancel, "取消"}};
    case rt::kMbYesNo: return {{rt::kBoxYes, "是"}, {rt::kBoxNo, "否"}};
    case rt::kMbRetryCancel: return {{rt::kBoxRetry, "重试"}, {rt::kBoxCancel, "取消"}};
    default: return {{rt::kBoxOk, "确定"}};
  }
}

int32_t EscapeAnswer(const std::vector<BoxButton>& buttons) {
  for (const auto& b : buttons) {
    if (b.answer == rt::kBoxCancel) return b.answer;
  }
  return buttons.back().answer;
}

}  // namespace vlmr::skin
