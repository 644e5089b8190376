// The component's two text-file commands: read a whole text file into a GBK
// text, and replace a whole file with a GBK text in a chosen encoding.
// Encoding names: "GBK", "UTF-8", "UTF-8-BOM", "UTF-16LE", "UTF-16BE" (any
// letter case; see text_encoding.h).
#pragma once

#include <cstdint>

#include "runtime/rt_value.h"

namespace vlmr::component {

// "读入文本文件" (251). Arguments: path (text); optional encoding variable: a
// record of tag Text whose payload is the address of a text variable (char*),
// which receives a new heap text naming the encoding found (its old text is
// freed). Result: the file's whole content as a GBK text, line breaks
// unchanged; the empty text when the file is missing, a directory or
// unreadable (the variable then names "GBK"), and when its content holds a
// zero character, which no text can carry whole.
void ReadStringFile(rt::RtValue* result, int32_t count, rt::RtValue* args);

// "写到文本文件" (252). Arguments: path (text); content (text); optional
// encoding name (text; omitted or empty: GBK). Result: bool. The content
// replaces the whole file, which is created when missing; the new content goes
// to a temporary file beside it that is renamed over the old one, so a failed
// write leaves the old file as it was. False for an unknown encoding name, a
// read-only file (owner may not write), a directory, or a folder that cannot
// be written.
void WriteStringFile(rt::RtValue* result, int32_t count, rt::RtValue* args);

}  // namespace vlmr::component
