#include "manifest_check.h"

#include <algorithm>
#include <set>

#include "folder_manifest.h"
#include "platform/codepage.h"
#include "runtime/rt_blocks.h"
#include "update/manifest.h"
#include "update/reserved_names.h"
#include "update/safe_relative_path.h"

namespace vlmr::tools {
namespace {

bool IsUpperHexDigest(const std::string& md5) {
  return update::IsWellFormedDigest(md5) && md5.find_first_of("abcdef") == std::string::npos;
}

// The native form of a manifest path below `folder`.
std::filesystem::path NativeFile(const std::filesystem::path& folder, const std::string& gbkPath) {
  std::string utf8 = platform::GbkToUtf8(gbkPath);
  std::replace(utf8.begin(), utf8.end(), '\\', '/');
  return folder / std::filesystem::path(utf8).relative_path();
}

}  // namespace

std::vector<DecodedLine> DecodeContainer(const std::string& body) {
  rt::Bytes bytes(rt::NewByteArray(body.data(), static_cast<int64_t>(body.size())));
  std::vector<DecodedLine> lines;
  for (const update::ManifestEntry& e : update::DecodeManifest(bytes.get()))
    lines.push_back({std::string(e.RelativePath.view()), std::string(e.Md5.view()),
                     std::string(e.Url.view())});
  return lines;
}

std::vector<std::string> VerifyAgainstFolder(const std::vector<DecodedLine>& lines,
                                             const std::filesystem::path& folder) {
  std::vector<std::string> problems;
  std::set<std::string> seen;
  for (const DecodedLine& line : lines) {
    std::string name = platform::GbkToUtf8(line.relativePath);
    auto say = [&](const std::string& what) { problems.push_back(name + ": " + what); };
    if (!update::IsSafeRelativePath(line.relativePath)) {
      say("the launcher refuses this path (it would leave the game folder)");
      continue;
    }
    if (update::IsReservedPath(line.relativePath)) {
      say("the launcher refuses this path (one of its own names: .vlmr, *.vlmr-part)");
      continue;
    }
    if (!seen.insert(line.relativePath).second) say("listed more than once");
    if (!IsUpperHexDigest(line.md5)) say("the digest is not 32 upper-case hex digits");
    if (!line.url.starts_with("http://") && !line.url.starts_with("https://"))
      say("the URL is not an http or https URL");
    std::filesystem::path file = NativeFile(folder, line.relativePath);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) say("missing from " + folder.string());
    else if (FileMd5Hex(file) != line.md5) say("the file differs from its digest");
  }
  return problems;
}

}  // namespace vlmr::tools
