#include "platform/system_libraries.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/md5.h"
#include "platform/native_path.h"
#include "platform/system_info.h"
#include "platform/win_api.h"
#include "platform/wininet.h"

namespace vlmr::platform {
namespace {

struct LibraryExport {
  std::string_view name;
  void* address;
};

template <typename Function>
LibraryExport Export(std::string_view name, Function* function) {
  return {name, reinterpret_cast<void*>(function)};
}

// A library the layer provides itself. Its exports keep their order: export i
// (0-based) has the ordinal i + 1.
struct BuiltInLibrary {
  std::string_view name;  // lower case, without ".dll"
  std::vector<LibraryExport> exports;
};

// The system libraries by Windows name. Adding one is one entry here naming
// functions declared in the header that provides them.
const std::vector<BuiltInLibrary>& BuiltInLibraries() {
  static const std::vector<BuiltInLibrary> libraries = {
      {"kernel32",
       {Export("MultiByteToWideChar", &MultiByteToWideChar),
        Export("GetFileAttributesW", &win::GetFileAttributesW),
        Export("CreateDirectoryW", &win::CreateDirectoryW),
        Export("LocalAlloc", &win::LocalAlloc),
        Export("LocalFree", &win::LocalFree),
        Export("GetTickCount", &TickCount)}},
      {"gdi32", {}},
      {"user32", {Export("CallWindowProcA", &win::CallWindowProcA)}},
      {"advapi32", {}},
      {"mpr", {}},
      {"shell32", {}},
      {"ole32",
       {Export("CoInitialize", &win::CoInitialize),
        Export("CoUninitialize", &win::CoUninitialize)}},
      {"msvcrt", {Export("strlen", &win::strlen)}},
      {"shlwapi", {Export("PathIsDirectoryW", &win::PathIsDirectoryW)}},
      {"wininet",
       {Export("InternetGetConnectedState", &win::InternetGetConnectedState),
        Export("InternetOpenA", &win::InternetOpenA),
        Export("InternetOpenUrlA", &win::InternetOpenUrlA),
        Export("InternetConnectA", &win::InternetConnectA),
        Export("HttpOpenRequestA", &win::HttpOpenRequestA),
        Export("HttpSendRequestA", &win::HttpSendRequestA),
        Export("HttpQueryInfoA", &win::HttpQueryInfoA),
        Export("InternetReadFile", &win::InternetReadFile),
        Export("InternetSetOptionA", &win::InternetSetOptionA),
        Export("InternetCloseHandle", &win::InternetCloseHandle)}},
      {"cryptdll",
       {Export("MD5Init", &MD5Init),
        Export("MD5Update", &MD5Update),
        Export("MD5Final", &MD5Final)}},
  };
  return libraries;
}

// What a LibraryHandle points to: a built-in library, or a shared object that
// was loaded for the caller and is unloaded when freed.
struct LibraryRecord {
  const BuiltInLibrary* builtIn = nullptr;
  void* sharedObject = nullptr;
};

const std::vector<LibraryRecord>& BuiltInRecords() {
  static const std::vector<LibraryRecord> records = [] {
    std::vector<LibraryRecord> all;
    for (const BuiltInLibrary& library : BuiltInLibraries()) all.push_back({&library, nullptr});
    return all;
  }();
  return records;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The file-name part of a launcher path, in lower case and without ".dll".
std::string LibraryKey(std::string_view gbkNameOrPath) {
  size_t start = 0;
  for (size_t i = 0; i < gbkNameOrPath.size(); ++i) {
    auto c = static_cast<unsigned char>(gbkNameOrPath[i]);
    if (c >= 0x81 && c <= 0xFE) {
      ++i;  // a double-byte character; its second byte is never a separator
    } else if (c == '\\' || c == '/' || c == ':') {
      start = i + 1;
    }
  }
  std::string key(gbkNameOrPath.substr(start));
  for (char& c : key) c = FoldAscii(c);
  if (key.size() > 4 && key.ends_with(".dll")) key.resize(key.size() - 4);
  return key;
}

const LibraryRecord* FindBuiltIn(std::string_view gbkNameOrPath) {
  std::string key = LibraryKey(gbkNameOrPath);
  for (const LibraryRecord& record : BuiltInRecords()) {
    if (record.builtIn->name == key) return &record;
  }
  return nullptr;
}

LibraryRecord* LoadSharedObject(std::string_view gbkPath) {
  std::string native = ToNativePath(gbkPath);
  struct stat info;
  if (native.empty() || stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return nullptr;
  }
  // A name without a folder would make dlopen search the system folders.
  if (native.find('/') == std::string::npos) native = "./" + native;
  void* sharedObject = dlopen(native.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (sharedObject == nullptr) return nullptr;
  return new LibraryRecord{nullptr, sharedObject};
}

// The ordinal a "#n" name gives (low 16 bits of n); empty for any other name.
std::optional<uint32_t> ParseOrdinal(std::string_view function) {
  if (function.size() < 2 || function.front() != '#') return std::nullopt;
  uint32_t value = 0;
  for (char c : function.substr(1)) {
    if (c < '0' || c > '9') return std::nullopt;
    value = (value * 10 + static_cast<uint32_t>(c - '0')) & 0xFFFFFFu;
  }
  return value & 0xFFFFu;
}

void* FindBuiltInExport(const BuiltInLibrary& library, std::string_view function) {
  if (std::optional<uint32_t> ordinal = ParseOrdinal(function)) {
    if (*ordinal == 0 || *ordinal > library.exports.size()) return nullptr;
    return library.exports[*ordinal - 1].address;
  }
  for (const LibraryExport& entry : library.exports) {
    if (entry.name == function) return entry.address;
  }
  return nullptr;
}

}  // namespace

LibraryHandle LoadSystemLibrary(std::string_view gbkNameOrPath) {
  if (gbkNameOrPath.empty()) return nullptr;
  if (const LibraryRecord* builtIn = FindBuiltIn(gbkNameOrPath)) {
    return const_cast<LibraryRecord*>(builtIn);
  }
  return LoadSharedObject(gbkNameOrPath);
}

void* FindLibraryExport(LibraryHandle library, std::string_view function) {
  auto* record = static_cast<const LibraryRecord*>(library);
  if (record == nullptr || function.empty()) return nullptr;
  if (record->builtIn != nullptr) return FindBuiltInExport(*record->builtIn, function);
  if (function.front() == '#') return nullptr;  // shared objects have no ordinals
  return dlsym(record->sharedObject, std::string(function).c_str());
}

void FreeSystemLibrary(LibraryHandle library) {
  auto* record = static_cast<LibraryRecord*>(library);
  if (record == nullptr || record->sharedObject == nullptr) return;
  dlclose(record->sharedObject);
  delete record;
}

}  // namespace vlmr::platform
