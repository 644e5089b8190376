// File commands: copy file, file exists, file size, and the commands on open
// file numbers (open, close, move to end, read, write, end of file).
#include <algorithm>
#include <cstring>

#include "platform/file_system.h"
#include "runtime/command_routines.h"
#include "runtime/commands_args.h"
#include "runtime/commands_file_table.h"
#include "runtime/rt_heap.h"

namespace vlmr::rt::routines {
namespace {

constexpr int32_t kDefaultOpenMode = 3;     // read and write an existing file
constexpr int32_t kDefaultSharing = 1;      // none denied
constexpr int64_t kByteArrayHeader = 8;     // int32 dimension count, int32 length

// Reads up to `want` bytes straight into a new byte-array block (no zero fill,
// no second copy: files are hashed in large blocks). Null when nothing could
// be read; a short read gives a block whose length field says what was read.
void* ReadIntoNewByteArray(platform::FileHandle& file, int64_t want) {
  auto* block = static_cast<uint8_t*>(rt_alloc(kByteArrayHeader + want));
  int64_t got = 0;
  while (got < want) {
    const int64_t n = file.Read(block + kByteArrayHeader + got, want - got);
    if (n <= 0) break;
    got += n;
  }
  if (got == 0) {
    rt_free(block);
    return nullptr;
  }
  const int32_t header[2] = {1, static_cast<int32_t>(got)};
  std::memcpy(block, header, sizeof header);
  return block;
}

}  // namespace

void CopyFile(RtValue* result, int32_t count, RtValue* args) {
  result::Bool(result, platform::CopyFileOverwrite(args::Text(count, args, 0),
                                                   args::Text(count, args, 1)));
}

void FileExists(RtValue* result, int32_t count, RtValue* args) {
  result::Bool(result, platform::PathExists(args::Text(count, args, 0)));
}

void FileSize(RtValue* result, int32_t count, RtValue* args) {
  result::Int(result, platform::FileSizeLow(args::Text(count, args, 0)));
}

// Arguments: path; mode 1-6 (omitted: 3); sharing 1-4 (omitted: 1). Result:
// the file number, 0 on failure.
void OpenFile(RtValue* result, int32_t count, RtValue* args) {
  const auto mode = static_cast<platform::OpenMode>(args::Int(count, args, 1, kDefaultOpenMode));
  const auto sharing = static_cast<platform::Sharing>(args::Int(count, args, 2, kDefaultSharing));
  platform::FileHandle file = platform::FileHandle::Open(args::Text(count, args, 0), mode, sharing);
  result::Int(result, file.IsOpen() ? files::Add(std::move(file)) : 0);
}

void CloseFile(RtValue*, int32_t count, RtValue* args) {
  files::Remove(args::Int(count, args, 0));
}

void MoveToEndOfFile(RtValue* result, int32_t count, RtValue* args) {
  const auto file = files::Find(args::Int(count, args, 0));
  result::Bool(result, file != nullptr && file->SeekToEnd());
}

// At most n bytes, and never more than the file still holds after the current
// position, so a huge n costs no more memory than the data read.
void ReadFromFile(RtValue* result, int32_t count, RtValue* args) {
  const auto file = files::Find(args::Int(count, args, 0));
  const int32_t n = args::Int(count, args, 1);
  if (file == nullptr || n <= 0) return result::ByteArray(result, {});
  const int64_t remaining = file->Size() - file->Position();
  const int64_t want = std::min<int64_t>(n, remaining);
  if (want <= 0) return result::ByteArray(result, {});
  result::OwnedByteArray(result, ReadIntoNewByteArray(*file, want));
}

// Arguments: file number; one or more byte arrays. Any other argument type is
// refused before anything is written.
void WriteToFile(RtValue* result, int32_t count, RtValue* args) {
  const auto file = files::Find(args::Int(count, args, 0));
  if (file == nullptr || count < 2) return result::Bool(result, false);
  for (int32_t i = 1; i < count; ++i) {
    if (args[i].Type() != RtType::ByteArray) return result::Bool(result, false);
  }
  const int64_t start = file->Position();
  for (int32_t i = 1; i < count; ++i) {
    const std::string_view bytes = args::ByteArray(count, args, i);
    if (bytes.empty()) continue;
    if (!file->Write(bytes.data(), static_cast<int64_t>(bytes.size()))) {
      file->SeekTo(start);
      return result::Bool(result, false);
    }
  }
  result::Bool(result, true);
}

// An unknown file number counts as at its end, so that read loops stop.
void EndOfFile(RtValue* result, int32_t count, RtValue* args) {
  const auto file = files::Find(args::Int(count, args, 0));
  result::Bool(result, file == nullptr || file->AtEnd(args::Bool(count, args, 1, false)));
}

}  // namespace vlmr::rt::routines
