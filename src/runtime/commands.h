// The typed C++ face of the runtime commands. Each function builds the tagged
// argument records (an omitted optional argument is a record with tag 0, so
// the command applies its own default) and calls the command routine through
// call_core_command / call_library_command; none reaches the platform itself.
//
// Texts passed in are borrowed GBK strings; null is the empty text. Where a
// null pointer stands for an omitted optional text (noted below), pass "" to
// hand over an explicit empty text instead. Texts, byte arrays and arrays
// returned are new heap blocks owned by the returned handle.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include "runtime/rt_blocks.h"
#include "runtime/rt_value.h"

namespace vlmr::rt::cmd {

// ---- numbers and bits ----
// The AND of all values (at least two, as the command takes them).
int32_t BitAnd(std::initializer_list<int32_t> values);
// Half away from zero to `decimals` places (negative: tens, hundreds, ...);
// 1e-12 is added to the scaled magnitude before its fraction is compared with
// 0.5. Omitted decimals: 0.
double RoundToDecimals(double value, std::optional<int32_t> decimals = {});
// A text parsed as a decimal number, 0 when it is not one.
double ToNumber(const char* text);
// Any value: numbers converted, texts parsed, everything else 0.
double ToNumber(const RtValue& value);

// ---- texts ----
// Bytes before the NUL; null counts as the constant empty text.
int32_t TextLength(const char* text);
// The first / last n bytes; empty for n <= 0, the whole text when n exceeds it.
Text LeftText(const char* text, int32_t n);
Text RightText(const char* text, int32_t n);
// 1-based byte position of the last occurrence of `sought` that starts at or
// before `start` (omitted: anywhere), or -1. A double-byte character is one
// unit, so a match never starts on its trail byte. ignoreCase folds ASCII only.
int32_t FindTextFromEnd(const char* text, const char* sought,
                        std::optional<int32_t> start = {},
                        std::optional<bool> ignoreCase = {});
// Only ASCII letters change; double-byte characters are copied unchanged.
Text ToUpper(const char* text);
Text ToLower(const char* text);
// Pieces between delimiters. delimiter null = omitted (","); "" = the empty
// delimiter (the whole text is the only piece). maxCount omitted: unlimited;
// <= 0 gives an empty array.
TextArray SplitText(const char* text, const char* delimiter = nullptr,
                    std::optional<int32_t> maxCount = {});
// An int in decimal; a double with "%.13g"; a byte array's bytes up to the
// first zero byte.
Text ToText(int32_t value);
Text ToText(double value);
Text ToTextFromBytes(const void* byteArray);
// Upper-case hexadecimal without leading zeros (the int taken as unsigned).
Text ToHexText(int32_t value);

// ---- byte arrays ----
// A text's bytes without the NUL.
Bytes ToByteArray(const char* text);
// The first min(n, length) bytes; empty for n <= 0.
Bytes LeftBytes(const void* byteArray, int32_t n);
// n zero bytes; empty for n <= 0.
Bytes BlankBytes(int32_t n);
// A copy of `length` bytes at `address`; empty for length <= 0 or null.
Bytes BytesFromMemory(const void* address, int32_t length);
int32_t ByteArrayLength(const void* byteArray);

// ---- files ----
bool CopyFile(const char* source, const char* destination);
// True when a file or a directory of that name exists.
bool FileExists(const char* path);
// Low 32 bits of the size; -1 when not found.
int32_t FileSize(const char* path);
// The sharing value that denies other openers nothing.
inline constexpr int32_t kShareNoneDenied = 1;
// Mode 1-6 (omitted: 3, read and write an existing file), sharing 1-4
// (omitted: 1, none denied). The file number, or 0 on failure.
int32_t OpenFile(const char* path, std::optional<int32_t> mode = {},
                 std::optional<int32_t> sharing = {});
void CloseFile(int32_t file);
bool SeekToEnd(int32_t file);
// At most n bytes from the current position; empty for n <= 0, at the end or
// for an invalid file number.
Bytes ReadFromFile(int32_t file, int32_t n);
// Writes the byte arrays in order; on failure the position returns to where
// the write began and the result is false.
bool WriteToFile(int32_t file, std::initializer_list<const void*> byteArrays);
// At or beyond the end; in text mode also before a 0 or 0x1A byte.
bool AtEndOfFile(int32_t file, std::optional<bool> textMode = {});

// ---- INI items ----
// At most 10239 bytes. Leading characters <= 0x20 of file, section and key are
// skipped; when any is then empty the result is the empty text, not the
// default. defaultText null = omitted (the empty text).
Text ReadIniItem(const char* file, const char* section, const char* key,
                 const char* defaultText = nullptr);
// key null = omitted (deletes the section); value null = omitted (deletes the
// key). Pass "" to write an empty value.
bool WriteIniItem(const char* file, const char* section, const char* key = nullptr,
                  const char* value = nullptr);

// ---- processes, windows, time ----
// Starts the command line (its first token is the program). wait omitted:
// false (wait until the child is ready, at most 1000 ms); showMode omitted: 2.
bool RunProgram(const char* commandLine, std::optional<bool> wait = {},
                std::optional<int32_t> showMode = {});
// Why the last RunProgram on this thread returned false (UTF-8, for standard
// error); empty after a successful start.
std::string LastRunProgramFailure();
// The directory of the launcher's executable, no trailing backslash.
Text ProgramDirectory();
// Shows a message box; flags omitted: 0; caption null = omitted ("信息：").
// Returns the button pressed (MessageBoxResult).
int32_t MessageBox(const char* text, std::optional<int32_t> flags = {},
                   const char* caption = nullptr);
uint32_t TickCount();
void ProcessPendingMessages();
int32_t SendMessage(uint32_t windowId, uint32_t message, int32_t wparam, int32_t lparam);

// ---- threads (library command) ----
// Starts a thread running routine(); true when it was created.
bool StartThread(void (*routine)());
// Starts a thread running routine(parameter).
bool StartThread(void (*routine)(int32_t), int32_t parameter);

}  // namespace vlmr::rt::cmd
