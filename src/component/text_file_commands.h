// The component's two text-file commands as the launcher logic calls them:
// through their entry points (251 ReadStringFile, 252 WriteStringFile) and the
// library-command form of the frame. The commands themselves live in the
// component's module (module/text_file_commands.h). Encoding names: "GBK",
// "UTF-8", "UTF-8-BOM", "UTF-16LE", "UTF-16BE" (any letter case).
#pragma once

#include "runtime/rt_blocks.h"

namespace vlmr::component::cmd {

// The file's whole content as a GBK text, line breaks unchanged; empty when
// the file is missing, unreadable or holds a zero character.
// encodingVariable null = omitted; otherwise *encodingVariable (a heap text or
// null) is replaced by the name of the encoding found.
rt::Text ReadStringFile(const char* path, char** encodingVariable = nullptr);
// Replaces the whole file (created when missing) in one step; false when it
// cannot be written. encoding null = omitted (GBK).
bool WriteStringFile(const char* path, const char* content, const char* encoding = nullptr);

}  // namespace vlmr::component::cmd
