#include "platform/file_handle.h"

#include <utility>

// What does not depend on the system: the handle moves, and goes with its
// owner (Close is the system's).
namespace vlmr::platform {

FileHandle::FileHandle(FileHandle&& other) noexcept : handle_(std::exchange(other.handle_, kNoHandle)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kNoHandle);
  }
  return *this;
}

FileHandle::~FileHandle() { Close(); }

}  // namespace vlmr::platform
