#include "folder_manifest.h"

#include <algorithm>
#include <fstream>
#include <memory>

#include "platform/codepage.h"
#include "platform/md5.h"
#include "update/reserved_names.h"

namespace vlmr::tools {
namespace {

bool Unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}

// The manifest form of a relative path: GBK with "\" separators.
std::string ManifestPath(const std::filesystem::path& relative) {
  std::string utf8 = relative.generic_string();
  if (utf8.find_first_of("\t\r\n\\") != std::string::npos)
    throw UnlistableFile(utf8 + ": a tab, line break or backslash in the name");
  std::string gbk = platform::Utf8ToGbk(utf8);
  if (platform::GbkToUtf8(gbk) != utf8) throw UnlistableFile(utf8 + ": not representable in GBK");
  std::replace(gbk.begin(), gbk.end(), '/', '\\');  // '/' is never a GBK trail byte
  return gbk;
}

}  // namespace

std::string FileMd5Hex(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error(file.string() + ": cannot be read");
  platform::Md5Stream md5;
  std::vector<char> buffer(1 << 20);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    md5.Update(buffer.data(), static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) throw std::runtime_error(file.string() + ": read failed");
  uint8_t digest[16];
  md5.Final(digest);
  return platform::UpperHexDigest(digest);
}

std::string FileUrl(const std::string& baseUrl, const std::filesystem::path& relative) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = baseUrl;
  if (url.empty() || url.back() != '/') url += '/';
  for (unsigned char c : relative.generic_string()) {
    if (Unreserved(c)) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

std::vector<ManifestLine> ScanFolder(const std::filesystem::path& folder, const std::string& baseUrl,
                                     const std::set<std::filesystem::path>& skip) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::filesystem::path relative = entry.path().lexically_relative(folder);
    if (skip.count(relative) || skip.count(std::filesystem::absolute(entry.path()))) continue;
    if (update::IsReservedPath(relative.generic_string())) continue;  // a launcher's own files
    files.push_back(relative);
  }
  std::sort(files.begin(), files.end());
  std::vector<ManifestLine> lines;
  for (const auto& relative : files)
    lines.push_back({ManifestPath(relative), FileMd5Hex(folder / relative), FileUrl(baseUrl, relative)});
  return lines;
}

std::string ManifestText(const std::vector<ManifestLine>& lines) {
  std::string text;
  for (const ManifestLine& line : lines) text += line.relativePath + "\t" + line.md5 + "\t" + line.url + "\r\n";
  return text;
}

}  // namespace vlmr::tools
