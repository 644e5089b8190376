// Process and time commands: run program, program directory, tick count, and
// the library command start thread.
#include <algorithm>
#include <memory>
#include <string>

#include "platform/process.h"
#include "platform/system_info.h"
#include "runtime/command_routines.h"
#include "runtime/commands_args.h"
#include "runtime/runtime_frame.h"

namespace vlmr::rt::routines {
namespace {

constexpr int32_t kDefaultShowMode = 2;  // normal window

// Why the last run program of this thread could not start (UTF-8), for the
// caller's report; the command itself answers only true or false.
thread_local std::string t_lastRunFailure;

// What a new thread runs: the routine, with its int parameter when one was given.
struct ThreadStart {
  uintptr_t routine;
  bool withParameter;
  int32_t parameter;
};

void RunThreadStart(intptr_t startAddress) {
  const std::unique_ptr<ThreadStart> start(reinterpret_cast<ThreadStart*>(startAddress));
  if (start->withParameter) {
    reinterpret_cast<void (*)(int32_t)>(start->routine)(start->parameter);
  } else {
    reinterpret_cast<void (*)()>(start->routine)();
  }
}

}  // namespace

// Arguments: command line; wait (omitted: false); show mode 1-6 (omitted: 2;
// values outside are clamped).
void RunProgram(RtValue* result, int32_t count, RtValue* args) {
  platform::RunOptions options;
  options.wait = args::Bool(count, args, 1, false);
  options.showMode = std::clamp(args::Int(count, args, 2, kDefaultShowMode), 1, 6);
  t_lastRunFailure.clear();
  result::Bool(result, platform::RunProgram(args::Text(count, args, 0), options, &t_lastRunFailure));
}

void ProgramDirectory(RtValue* result, int32_t, RtValue*) {
  result::Text(result, rt::ProgramDirectory());
}

void TickCount(RtValue* result, int32_t, RtValue*) {
  result::Int(result, static_cast<int32_t>(platform::TickCount()));
}

// Arguments: routine; parameter (optional); handle variable (optional). The
// thread is detached at once, as when no handle variable is given.
void StartThread(RtValue* result, int32_t count, RtValue* args) {
  const RtValue routine = args::At(count, args, 0);
  if (routine.Type() != RtType::Routine || routine.payload == 0) {
    return result::Bool(result, false);
  }
  auto start = std::make_unique<ThreadStart>(
      ThreadStart{static_cast<uintptr_t>(routine.payload), !args::Omitted(count, args, 1),
                  args::Int(count, args, 1)});
  const bool started =
      platform::StartDetachedThread(&RunThreadStart, reinterpret_cast<intptr_t>(start.get()));
  if (started) start.release();
  result::Bool(result, started);
}

}  // namespace vlmr::rt::routines

namespace vlmr::rt::cmd {

std::string LastRunProgramFailure() { return routines::t_lastRunFailure; }

}  // namespace vlmr::rt::cmd
