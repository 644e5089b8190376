// The runtime command routines, each a CommandFn called through the command
// call of the frame: (result record, argument count, first argument record).
// An argument record with tag 0 (or one beyond the count) is an omitted
// optional argument and takes the command's default. Texts, byte arrays and
// arrays written to the result are new heap blocks owned by the caller.
#pragma once

#include <cstdint>

#include "runtime/rt_value.h"

namespace vlmr::rt::routines {

// ---- numbers and bits (commands_convert.cpp) ----
void BitwiseAnd(RtValue* result, int32_t count, RtValue* args);
void RoundToDecimals(RtValue* result, int32_t count, RtValue* args);
void ToNumber(RtValue* result, int32_t count, RtValue* args);
void ToText(RtValue* result, int32_t count, RtValue* args);
void ToHexText(RtValue* result, int32_t count, RtValue* args);

// ---- byte arrays (commands_bytes.cpp) ----
void ToByteArray(RtValue* result, int32_t count, RtValue* args);
void LeftPartOfByteArray(RtValue* result, int32_t count, RtValue* args);
void BlankByteArray(RtValue* result, int32_t count, RtValue* args);
void ByteArrayFromMemory(RtValue* result, int32_t count, RtValue* args);
void ByteArrayLength(RtValue* result, int32_t count, RtValue* args);

// ---- texts (commands_text.cpp, commands_split.cpp) ----
void TextLength(RtValue* result, int32_t count, RtValue* args);
void LeftPartOfText(RtValue* result, int32_t count, RtValue* args);
void RightPartOfText(RtValue* result, int32_t count, RtValue* args);
void FindTextFromEnd(RtValue* result, int32_t count, RtValue* args);
void ToUpperCase(RtValue* result, int32_t count, RtValue* args);
void ToLowerCase(RtValue* result, int32_t count, RtValue* args);
void SplitText(RtValue* result, int32_t count, RtValue* args);

// ---- files (commands_file.cpp) ----
void CopyFile(RtValue* result, int32_t count, RtValue* args);
void FileExists(RtValue* result, int32_t count, RtValue* args);
void FileSize(RtValue* result, int32_t count, RtValue* args);
void OpenFile(RtValue* result, int32_t count, RtValue* args);
void CloseFile(RtValue* result, int32_t count, RtValue* args);
void MoveToEndOfFile(RtValue* result, int32_t count, RtValue* args);
void ReadFromFile(RtValue* result, int32_t count, RtValue* args);
void WriteToFile(RtValue* result, int32_t count, RtValue* args);
void EndOfFile(RtValue* result, int32_t count, RtValue* args);

// ---- INI items (commands_ini.cpp) ----
void ReadIniItem(RtValue* result, int32_t count, RtValue* args);
void WriteIniItem(RtValue* result, int32_t count, RtValue* args);

// ---- processes and time (commands_process.cpp) ----
void RunProgram(RtValue* result, int32_t count, RtValue* args);
void ProgramDirectory(RtValue* result, int32_t count, RtValue* args);
void TickCount(RtValue* result, int32_t count, RtValue* args);
// Library command: routine (tag Routine); parameter (int, optional: the routine
// then takes one int32 argument, otherwise none); a handle variable
// (optional, unused: the thread is always detached).
void StartThread(RtValue* result, int32_t count, RtValue* args);

// ---- windows (commands_ui.cpp) ----
void MessageBox(RtValue* result, int32_t count, RtValue* args);
void ProcessPendingMessages(RtValue* result, int32_t count, RtValue* args);
void SendMessage(RtValue* result, int32_t count, RtValue* args);

}  // namespace vlmr::rt::routines
