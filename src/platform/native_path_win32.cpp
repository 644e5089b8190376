#include "platform/native_path.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/win32_text.h"

namespace vlmr::platform {
namespace {

// The longest path the wide functions take ("\\?\" form) and the longest name.
constexpr size_t kMaxWidePath = 32767;
constexpr size_t kMaxName = 255;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

// On Windows the native form is the path itself in UTF-8: "/" becomes "\",
// repeated separators count as one (a leading "\\" of a server share stays),
// and the file system matches names without regard to case by itself.
std::string ToNativePath(std::string_view gbkPath) {
  if (gbkPath.empty() || gbkPath.size() > kMaxWidePath) return {};
  const std::string utf8 = GbkToUtf8(gbkPath);  // UTF-8 never hides a separator byte
  std::string native;
  native.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (!IsSeparator(utf8[i])) {
      native.push_back(utf8[i]);
    } else if (native.empty() || native.back() != '\\' || (i == 1 && IsSeparator(utf8[0]))) {
      native.push_back('\\');
    }
  }
  if (win32::Wide(native).size() >= kMaxWidePath) return {};
  return native;
}

bool FitsPathLimits(std::string_view gbkPath) {
  const std::string native = ToNativePath(gbkPath);
  if (native.empty()) return false;
  const std::wstring wide = win32::Wide(native);
  size_t name = 0;
  for (wchar_t c : wide) {
    name = c == L'\\' ? 0 : name + 1;
    if (name > kMaxName) return false;
  }
  return true;
}

std::string ToLauncherPath(std::string_view nativePath) {
  std::string gbk = Utf8ToGbk(nativePath);
  // Only '/' bytes outside double-byte characters are separators.
  for (size_t i = 0; i < gbk.size(); ++i) {
    if (IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size()) {
      ++i;
    } else if (gbk[i] == '/') {
      gbk[i] = '\\';
    }
  }
  return gbk;
}

}  // namespace vlmr::platform
