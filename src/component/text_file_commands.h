// The server component's two text-file commands: read a whole text file into
// a GBK text, and replace a whole file with a GBK text in a chosen encoding.
//
// Both are command routines of the library-command convention, called
// through rt::call_library_command. Encoding names: "GBK", "UTF-8",
// "UTF-8-BOM", "UTF-16LE", "UTF-16BE" (any letter case; see text_encoding.h).
#pragma once

#include <cstdint>

#include "runtime/rt_blocks.h"
#include "runtime/rt_value.h"

namespace vlmr::component {

// The component's number in calls of its commands (not used by the frame)
// and the commands' numbers in its command table.
inline constexpr int32_t kServerSuiteLibrary = 2;
inline constexpr int32_t kReadStringFileNumber = 251;
inline constexpr int32_t kWriteStringFileNumber = 252;

namespace routines {

// "读入文本文件". Arguments: path (text); optional encoding variable: a record
// of tag Text whose payload is the address of a text variable (char*), which
// receives a new heap text naming the encoding found (its old text is freed).
// Result: the file's whole content as a GBK text, line breaks unchanged; the
// empty text when the file is missing, a directory or unreadable (the
// variable then names "GBK"), and when its content holds a zero character,
// which no text can carry whole.
void ReadStringFile(rt::RtValue* result, int32_t count, rt::RtValue* args);

// "写到文本文件". Arguments: path (text); content (text); optional encoding name
// (text; omitted or empty: GBK). Result: bool. The content replaces the whole
// file, which is created when missing; the new content goes to a temporary
// file beside it that is renamed over the old one, so a failed write leaves
// the old file as it was. False for an unknown encoding name, a read-only file
// (owner may not write), a directory, or a folder that cannot be written.
void WriteStringFile(rt::RtValue* result, int32_t count, rt::RtValue* args);

}  // namespace routines

// Typed face: builds the argument records and calls the routines through the
// library-command form of the frame.
namespace cmd {

// encodingVariable null = omitted; otherwise *encodingVariable (a heap text or
// null) is replaced by the name of the encoding found.
rt::Text ReadStringFile(const char* path, char** encodingVariable = nullptr);
// encoding null = omitted (GBK).
bool WriteStringFile(const char* path, const char* content, const char* encoding = nullptr);

}  // namespace cmd

}  // namespace vlmr::component
