// Loading "libraries" by their Windows names for the declared-function table.
// The system libraries (kernel32, user32, wininet, cryptdll, ...) are provided
// by the layer itself; any other name is a real shared object loaded with
// dlopen from the launcher path given.
#pragma once

#include <cstdint>
#include <string_view>

namespace vlmr::platform {

using LibraryHandle = void*;

// Finds a built-in system library by file name (case-insensitive, ".dll"
// optional; for a path its last component, so a system library is never
// replaced by a file in the program directory) or loads a shared object at the
// given launcher path when that file exists (dlopen). Null when neither.
LibraryHandle LoadSystemLibrary(std::string_view gbkNameOrPath);
// An export by name (case-sensitive) or, for a name "#n", by ordinal n (low 16
// bits; a built-in library's exports are numbered from 1 in table order; shared
// objects have no ordinals). Null when the library does not export it.
void* FindLibraryExport(LibraryHandle library, std::string_view function);
// Unloads a shared object; built-in libraries and null are left alone.
void FreeSystemLibrary(LibraryHandle library);

}  // namespace vlmr::platform
