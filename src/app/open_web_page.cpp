#include "app/open_web_page.h"

#include <string>

#include "platform/codepage.h"
#include "platform/web_browser.h"
#include "runtime/rt_blocks.h"
#include "runtime/runtime_frame.h"

namespace vlmr::app {
namespace {

// The library number the frame carries for this command; unused by the frame.
constexpr int32_t kShellLibrary = 2;

}  // namespace

void OpenWebPageCommand(rt::RtValue* /*result*/, int32_t count, rt::RtValue* args) {
  std::string address = "http://" VLMR_WEB_HOST "/";
  if (count >= 1 && args[0].Type() == rt::RtType::Text) {
    address = platform::GbkToUtf8(rt::TextView(args[0].AsPointer<const char>()));
  }
  platform::OpenInBrowser(address);
}

void OpenWebPage(const char* gbkAddress) {
  rt::RtValue record = rt::RtValue::Text(gbkAddress);
  rt::call_library_command(kShellLibrary, &OpenWebPageCommand, 1, &record);
}

}  // namespace vlmr::app
