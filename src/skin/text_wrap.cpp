#include "skin/text_wrap.h"

#include <algorithm>

namespace vlmr::skin {
namespace {

size_t SequenceLength(char leadByte) {
  auto lead = static_cast<unsigned char>(leadByte);
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

std::string_view FirstCharacter(std::string_view text) {
  return text.substr(0, std::min(text.size(), SequenceLength(text.front())));
}

bool IsLatinWordByte(char c) { return static_cast<unsigned char>(c) < 0x80 && c != ' '; }

// UTF-8 is self-synchronising: a whole character is found only as itself.
bool ClosesPhrase(std::string_view character) {
  constexpr std::string_view kClosing = "，。、；：！？）」》”,.;:!?)";
  return kClosing.find(character) != std::string_view::npos;
}

// The pieces a line may break between: a Latin word or one other character,
// each with the spaces after it; closing punctuation joins the piece before.
std::vector<std::string_view> BreakablePieces(std::string_view paragraph) {
  std::vector<std::string_view> pieces;
  size_t at = 0;
  while (at < paragraph.size()) {
    size_t start = at;
    if (IsLatinWordByte(paragraph[at])) {
      while (at < paragraph.size() && IsLatinWordByte(paragraph[at])) ++at;
    } else {
      at = std::min(paragraph.size(), at + SequenceLength(paragraph[at]));
    }
    while (at < paragraph.size() && paragraph[at] == ' ') ++at;
    std::string_view piece = paragraph.substr(start, at - start);
    if (!pieces.empty() && ClosesPhrase(FirstCharacter(piece))) {
      const char* joined = pieces.back().data();
      pieces.back() = std::string_view(joined, piece.data() + piece.size() - joined);
    } else {
      pieces.push_back(piece);
    }
  }
  return pieces;
}

std::string_view WithoutTrailingSpaces(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Fills lines greedily, piece by piece.
class LineFiller {
 public:
  LineFiller(int maxWidth, const TextWidth& width, std::vector<std::string>& lines)
      : maxWidth_(maxWidth), width_(width), lines_(lines) {}

  void Add(std::string_view piece) {
    if (Fits(line_ + std::string(piece))) {
      line_ += piece;
      return;
    }
    if (!line_.empty()) EndLine();
    if (Fits(std::string(piece))) {
      line_ = piece;
      return;
    }
    for (size_t at = 0; at < piece.size();) {
      std::string_view character = FirstCharacter(piece.substr(at));
      if (!line_.empty() && !Fits(line_ + std::string(character))) EndLine();
      line_ += character;
      at += character.size();
    }
  }

  void EndLine() {
    lines_.emplace_back(WithoutTrailingSpaces(line_));
    line_.clear();
  }

 private:
  bool Fits(const std::string& candidate) const {
    return width_(WithoutTrailingSpaces(candidate)) <= maxWidth_;
  }

  int maxWidth_;
  const TextWidth& width_;
  std::vector<std::string>& lines_;
  std::string line_;
};

}  // namespace

std::vector<std::string> WrapText(std::string_view utf8, int maxWidth, const TextWidth& width) {
  std::vector<std::string> lines;
  LineFiller filler(maxWidth, width, lines);
  size_t start = 0;
  while (start <= utf8.size()) {
    size_t end = std::min(utf8.find('\n', start), utf8.size());
    std::string_view paragraph = utf8.substr(start, end - start);
    if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
    for (std::string_view piece : BreakablePieces(paragraph)) filler.Add(piece);
    filler.EndLine();
    start = end + 1;
  }
  return lines;
}

}  // namespace vlmr::skin
