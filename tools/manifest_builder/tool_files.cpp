#include "tool_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vlmr::tools {

std::string ReadWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileAtomically(const std::filesystem::path& output, const std::string& bytes) {
  const std::filesystem::path temporary = output.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) throw std::runtime_error(temporary.string() + ": cannot be written");
  }
  std::filesystem::rename(temporary, output);
}

void WriteNewPrivateFile(const std::filesystem::path& file, const std::string& bytes) {
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
  if (fd < 0) {
    throw std::runtime_error(file.string() + ": " +
                             (errno == EEXIST ? "exists already; a key file is never overwritten" : std::strerror(errno)));
  }
  const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  if (close(fd) != 0 || !written) {
    std::filesystem::remove(file);
    throw std::runtime_error(file.string() + ": cannot be written");
  }
}

}  // namespace vlmr::tools
