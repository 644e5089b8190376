// The runtime call frame: the entry points through which all launcher logic
// reaches the runtime services.
//
// Naming: the frame's own entry points keep the runtime's lower-case names
// with underscores (call_core_command, get_property, rt_alloc, end_program);
// everything built on top of them, the typed command face rt::cmd included,
// uses mixed case like the rest of the launcher (OpenFile, UpdateRun). The
// case tells at a glance whether a call is the frame itself or a user of it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "runtime/runtime_libraries.h"
#include "runtime/rt_value.h"

namespace vlmr::rt {

// ---- command call ----
// Zeroes a result record, calls the routine with (result, count, args) and
// returns the record. The library variant carries the library's number, which
// the frame does not use.
RtValue call_core_command(CommandFn command, int32_t count, RtValue* args);
RtValue call_library_command(int32_t library, CommandFn command, int32_t count, RtValue* args);

// ---- fatal errors and program end ----
// The eleven coded errors; code 0 means "no code", only a message.
[[noreturn]] void fatal_error(int32_t code, uint32_t loc1, uint32_t loc2);
// A fatal report with a message of its own (GBK) and no code.
[[noreturn]] void fatal_message(const std::string& gbkMessage, uint32_t loc1 = 0,
                                uint32_t loc2 = 0);
// The text of the report fatal_error shows (GBK), built without showing it.
std::string FatalReportText(int32_t code, const std::string& gbkMessage, uint32_t loc1,
                            uint32_t loc2);
// Runs the end-of-program cleanup, then ends the process with `exitCode`.
[[noreturn]] void end_program(int32_t exitCode);
// The cleanup alone (registered routines, kept modules), run once.
void RunEndOfProgramCleanup();

// ---- runtime services ----
inline constexpr int32_t kServiceMakeArrayWritable = 2;
inline constexpr int32_t kServiceRegisterEndRoutine = 3;
inline constexpr int32_t kServiceInitialise = 6;
// Service 2 with (element size, address of the array pointer); service 3 with
// (routine); service 6 with (argv[0] or null). Unused services return 0.
int64_t runtime_service(int32_t number, intptr_t a = 0, intptr_t b = 0);
void MakeArrayWritable(int32_t elementSize, void** arrayPointer);
void RegisterEndRoutine(void (*routine)());
// The folder of an executable's launcher path: everything before its last
// backslash (a GBK trail byte 0x5C is none), "" when it has none.
std::string ProgramDirectoryOf(const std::string& gbkExecutablePath);
// Heap, program directory (made current), declared-function table, then the
// runtime libraries notified in order (the server component loads its module
// on its first notification, and may end the process when it cannot).
void InitialiseRuntime(const char* argv0, std::span<const LibraryNotifyFn> libraries = {});

// The program directory as the runtime holds it (GBK, no trailing backslash).
std::string ProgramDirectory();
// Overrides the program directory (tests place the "launcher" in a temp folder).
void SetProgramDirectory(const std::string& gbkDirectory);

// ---- windows and properties ----
// Loads a window; failure is fatal ("载入启动窗口失败").
void load_window(uint32_t windowId);
// Runs the message loop of the installed window system.
int32_t run_message_loop();
// Reading or writing a property of a window that is not loaded is fatal
// ("未载入欲访问窗口组件所在的窗口").
uint64_t get_property(uint32_t windowId, uint32_t controlId, int32_t index, int32_t element);
void set_property(uint32_t windowId, uint32_t controlId, int32_t index, int32_t element,
                  uint32_t low, uint32_t high);

// Message box through the window system, also written to standard error as one
// UTF-8 line "caption: text", and to the launcher's log.
int32_t ShowMessageBox(const char* gbkText, int32_t flags, const char* gbkCaption);

}  // namespace vlmr::rt
