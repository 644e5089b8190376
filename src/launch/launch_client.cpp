#include "launch/launch_client.h"

#include <string>

#include "component/text_file_commands.h"
#include "launch/client_command_line.h"
#include "launch/replace_line.h"
#include "platform/launcher_log.h"
#include "platform/native_path.h"
#include "runtime/commands.h"
#include "runtime/control_properties.h"
#include "runtime/launcher_ids.h"
#include "runtime/rt_heap.h"
#include "settings/settings_store.h"

namespace vlmr::launch {
namespace {

using namespace rt::literals;
namespace ids = rt::ids;

// The program directory followed by `tail` (a literal starting with "\").
rt::Text InProgramDirectory(const char* tail) {
  const rt::Text directory = rt::cmd::ProgramDirectory();
  return rt::Text(rt::join_texts({directory.get(), tail}));
}

// A launcher path as the file system names it, for messages on standard error.
std::string NativePath(const rt::Text& gbkPath) { return platform::ToNativePath(gbkPath.view()); }

bool BoxTicked(uint32_t box) {
  return rt::GetControlBool(ids::kLauncherWindow, box, ids::kSlotChecked);
}

// The damage style ticked in the panel now (confirmed or not) picks the data
// file; with both ticked the new style, copied last, wins. Copy failures
// leave the active file as it was.
void PutDamageStyleFileInPlace() {
  const char* active = "\\Lanternfall\\DAC_VLMR\\0009.d2a"_t;
  if (BoxTicked(ids::kBoxOldStyle)) {
    rt::cmd::CopyFile(InProgramDirectory("\\Lanternfall\\DAC_VLMR\\0009.old"_t).get(),
                      InProgramDirectory(active).get());
  }
  if (BoxTicked(ids::kBoxNewStyle)) {
    rt::cmd::CopyFile(InProgramDirectory("\\Lanternfall\\DAC_VLMR\\0009.new"_t).get(),
                      InProgramDirectory(active).get());
  }
}

// Lines 2 and 3 of Corvane.INI become the width and height lines; the file
// keeps its encoding. A file with fewer than three lines (or missing, or
// unreadable) is left untouched: writing the empty result back would wipe it.
void WriteScreenSizeToClientConfig(const rt::Text& width, const rt::Text& height) {
  const char* config = "\\Corvane.INI"_t;
  char* encodingFound = nullptr;
  const rt::Text text =
      component::cmd::ReadStringFile(InProgramDirectory(config).get(), &encodingFound);
  const rt::Text encoding(encodingFound);
  const rt::Text widthLine(rt::join_texts({"SCREEN_WIDTH\t"_t, width.get()}));
  const rt::Text heightLine(rt::join_texts({"SCREEN_HEIGHT\t"_t, height.get()}));
  const rt::Text withWidth = ReplaceLine(text.get(), 2, widthLine.get());
  const rt::Text withSize = ReplaceLine(withWidth.get(), 3, heightLine.get());
  const rt::Text path = InProgramDirectory(config);
  if (withSize.empty()) {
    platform::Say("launch", NativePath(path) + " is missing, unreadable or shorter than three lines; left unchanged");
    return;
  }
  if (!component::cmd::WriteStringFile(path.get(), withSize.get(), encoding.get())) {
    platform::Say("launch", "cannot write " + NativePath(path) + "; the client keeps its previous screen size there");
  }
}

}  // namespace

void LaunchClient() {
  const ClientOptions options = TakeClientOptions(settings::Settings());
  PutDamageStyleFileInPlace();
  const ScreenSize size = ScreenSizeOf(options.ResolvingPower);
  WriteScreenSizeToClientConfig(rt::cmd::ToText(size.width), rt::cmd::ToText(size.height));
  if (!rt::cmd::RunProgram(ClientCommandLine(options).c_str())) {
    platform::Say("launch", "cannot start the game client: " + rt::cmd::LastRunProgramFailure());
  }
}

}  // namespace vlmr::launch
