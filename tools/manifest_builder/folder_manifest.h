// Building the update manifest of a folder: one line per regular file below
// it (path with "\" separators in GBK, upper-case MD5, URL from a base URL),
// to be packed into the container the launcher decodes.
#pragma once

#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace vlmr::tools {

struct ManifestLine {
  std::string relativePath;  // GBK, "\" separated
  std::string md5;           // 32 upper-case hex digits
  std::string url;
};

// A file whose name cannot be written into a manifest (not representable in
// GBK, or holding a tab, a line break or a backslash).
struct UnlistableFile : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Upper-case MD5 of a file's content; throws std::runtime_error when unreadable.
std::string FileMd5Hex(const std::filesystem::path& file);

// The URL of a file: the base URL (a trailing "/" optional) and the relative
// path's UTF-8 bytes with "/" separators, percent-encoded where needed.
std::string FileUrl(const std::string& baseUrl, const std::filesystem::path& relative);

// Every regular file below `folder` in sorted order, except those in `skip`
// (absolute or relative to the folder) and the launcher's own (its .vlmr
// folder, partial downloads). Throws UnlistableFile.
std::vector<ManifestLine> ScanFolder(const std::filesystem::path& folder, const std::string& baseUrl,
                                     const std::set<std::filesystem::path>& skip);

// "path\tMD5\tURL\r\n" per line.
std::string ManifestText(const std::vector<ManifestLine>& lines);

}  // namespace vlmr::tools
