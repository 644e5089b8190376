// Reading an existing manifest container with the launcher's own decoder, and
// checking it against the folder it should describe.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vlmr::tools {

struct DecodedLine {
  std::string relativePath;  // GBK as in the manifest
  std::string md5;
  std::string url;
};

// The entries the launcher would see in this container body.
std::vector<DecodedLine> DecodeContainer(const std::string& body);

// Problems, one sentence each (UTF-8): paths the launcher refuses, malformed
// digests or URLs, duplicate paths, files missing from `folder` or differing
// from their digest.
std::vector<std::string> VerifyAgainstFolder(const std::vector<DecodedLine>& lines,
                                             const std::filesystem::path& folder);

}  // namespace vlmr::tools
