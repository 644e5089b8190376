#include "support/temp_dir.h"

#include <cstdlib>
#include <mutex>
#include <random>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "platform/native_path.h"

namespace vlmr::test {

TempDir::TempDir() : path_(MakeUniqueFolder(std::filesystem::temp_directory_path(), "vlmr-test-")) {}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore write permission so read-only fixtures can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::LauncherPath() const { return platform::ToLauncherPath(Utf8Of(path_)); }

std::filesystem::path TempDir::operator/(std::string_view relative) const {
  return path_ / std::filesystem::path(std::u8string(relative.begin(), relative.end()));
}

void TempDir::Write(std::string_view relative, std::string_view bytes) const {
  std::filesystem::path target = *this / relative;
  std::filesystem::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::Read(std::string_view relative) const { return ReadFileBytes(*this / relative); }

std::filesystem::path MakeUniqueFolder(const std::filesystem::path& parent, std::string_view prefix) {
  static std::mt19937_64 random(std::random_device{}());
  static std::mutex mutex;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::lock_guard lock(mutex);
    const std::filesystem::path candidate = parent / (std::string(prefix) + std::to_string(random() % 1000000000));
    std::error_code ec;
    if (std::filesystem::create_directory(candidate, ec)) {
      // As mkdtemp makes them: the user's alone.
      std::filesystem::permissions(candidate, std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::replace, ec);
      return candidate;
    }
  }
  throw std::runtime_error("cannot make a temporary folder in " + parent.string());
}

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> ReadFileLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  const std::string text = ReadFileBytes(path);
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

}  // namespace vlmr::test
