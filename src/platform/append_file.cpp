#include "platform/append_file.h"

#include <utility>

// What does not depend on the system: the handle moves, and goes with its
// owner (Close is the system's).
namespace vlmr::platform {

AppendFile::AppendFile(AppendFile&& other) noexcept : handle_(std::exchange(other.handle_, kNoHandle)) {}

AppendFile& AppendFile::operator=(AppendFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kNoHandle);
  }
  return *this;
}

AppendFile::~AppendFile() { Close(); }

}  // namespace vlmr::platform
