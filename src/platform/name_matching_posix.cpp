#include "platform/name_matching.h"

#include <dirent.h>
#include <locale.h>
#include <wctype.h>

#include "platform/codepage.h"

namespace vlmr::platform {
namespace {

// Out of Unicode's range, so a raw byte never equals a decoded character.
constexpr char32_t kRawByteBase = 0x110000;

locale_t Utf8Locale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return locale;
}

char32_t FoldAscii(unsigned char c) {
  return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

}  // namespace

std::u32string FoldedName(std::string_view utf8Name) {
  bool invalid = false;
  std::u32string folded = Utf8ToCodePoints(utf8Name, &invalid);
  if (invalid) {
    folded.clear();
    for (char byte : utf8Name) {
      auto c = static_cast<unsigned char>(byte);
      folded.push_back(c < 0x80 ? FoldAscii(c) : kRawByteBase + c);
    }
    return folded;
  }
  locale_t locale = Utf8Locale();
  for (char32_t& c : folded) {
    if (c < 0x80) {
      c = FoldAscii(static_cast<unsigned char>(c));
    } else if (locale != static_cast<locale_t>(0)) {
      c = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale));
    }
  }
  return folded;
}

std::optional<std::string> FindEntryIgnoringCase(const std::string& nativeDirectory,
                                                 std::string_view utf8Name) {
  DIR* dir = opendir(nativeDirectory.empty() ? "." : nativeDirectory.c_str());
  if (dir == nullptr) return std::nullopt;
  std::u32string wanted = FoldedName(utf8Name);
  std::optional<std::string> best;
  while (dirent* entry = readdir(dir)) {
    std::string_view candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    if (FoldedName(candidate) != wanted) continue;
    if (!best || candidate < *best) best = std::string(candidate);
  }
  closedir(dir);
  return best;
}

}  // namespace vlmr::platform
