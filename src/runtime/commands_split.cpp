// The split text command.
#include <cstdint>
#include <string_view>
#include <vector>

#include "runtime/command_routines.h"
#include "runtime/commands_args.h"
#include "runtime/rt_blocks.h"

namespace vlmr::rt::routines {
namespace {

constexpr std::string_view kDefaultDelimiter = ",";
constexpr int64_t kUnlimited = INT64_MAX;

// The pieces between delimiters, in order: an empty piece between two
// delimiters is kept, the piece after the last delimiter only when it is not
// empty; at most `maxCount` pieces, the rest of the text dropped. The search
// steps over double-byte characters as units, so a delimiter never matches on
// a trail byte.
std::vector<std::string_view> SplitPieces(std::string_view text, std::string_view delimiter,
                                          int64_t maxCount) {
  std::vector<std::string_view> pieces;
  if (text.empty() || maxCount <= 0) return pieces;
  if (delimiter.empty()) return {text};
  size_t pieceStart = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, delimiter.size(), delimiter) != 0) {
      i += args::GbkUnitLength(text, i);
      continue;
    }
    pieces.push_back(text.substr(pieceStart, i - pieceStart));
    if (static_cast<int64_t>(pieces.size()) >= maxCount) return pieces;
    i += delimiter.size();
    pieceStart = i;
  }
  if (pieceStart < text.size()) pieces.push_back(text.substr(pieceStart));
  return pieces;
}

}  // namespace

// Arguments: text; delimiter (omitted: ","); maximum count (omitted: unlimited).
void SplitText(RtValue* result, int32_t count, RtValue* args) {
  const std::string_view text = args::Text(count, args, 0);
  const std::string_view delimiter =
      args::Omitted(count, args, 1) ? kDefaultDelimiter : args::Text(count, args, 1);
  const int64_t maxCount =
      args::Omitted(count, args, 2) ? kUnlimited : args::Int(count, args, 2);
  void* array = NewTextArray(SplitPieces(text, delimiter, maxCount));
  *result = RtValue::Make(static_cast<RtType>(static_cast<uint32_t>(RtType::Text) | kArrayFlag),
                          reinterpret_cast<uintptr_t>(array));
}

}  // namespace vlmr::rt::routines
