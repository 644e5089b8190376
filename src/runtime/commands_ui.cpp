// Window commands: message box, process pending messages, send message.
#include <string>

#include "runtime/command_routines.h"
#include "runtime/commands_args.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_frame.h"
#include "runtime/window_system.h"

namespace vlmr::rt::routines {

using namespace vlmr::rt::literals;

// Arguments: message (any value); flags (omitted: 0); caption (omitted:
// "信息："); owner window (optional; boxes are task-modal without an owner).
void MessageBox(RtValue* result, int32_t count, RtValue* args) {
  const std::string message = args::ValueToText(args::At(count, args, 0));
  const int32_t flags = args::Int(count, args, 1, 0);
  const std::string caption =
      args::Omitted(count, args, 2) ? "信息："_t : std::string(args::Text(count, args, 2));
  result::Int(result, ShowMessageBox(message.c_str(), flags, caption.c_str()));
}

void ProcessPendingMessages(RtValue*, int32_t, RtValue*) {
  CurrentWindowSystem().ProcessPendingMessages();
}

// Arguments: window (a window reference or a window id); message; first
// parameter; second parameter. Result: the window's answer.
void SendMessage(RtValue* result, int32_t count, RtValue* args) {
  const uint32_t windowId = args::At(count, args, 0).Low();
  const auto message = static_cast<uint32_t>(args::Int(count, args, 1));
  result::Int(result, CurrentWindowSystem().SendWindowMessage(
                          windowId, message, args::Int(count, args, 2), args::Int(count, args, 3)));
}

}  // namespace vlmr::rt::routines
