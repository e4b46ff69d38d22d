#include "watch/text_split.h"

namespace umbra {

namespace {

// Finds the first occurrence of `delimiter` in `rest` that does not begin on a
// trailing byte. A byte is a trailing byte when it stands directly behind an
// odd number of consecutive lead bytes counted from the start of `rest`. The
// lead-byte run is carried forward as the search advances, so the whole
// search stays linear in the length of `rest`.
std::size_t FindOnCharacterBoundary(std::string_view rest, std::string_view delimiter) {
  std::size_t scanned = 0;    // bytes of `rest` whose run has been counted
  std::size_t leadRun = 0;    // consecutive lead bytes ending just before `scanned`
  std::size_t from = 0;
  for (;;) {
    const std::size_t hit = rest.find(delimiter, from);
    if (hit == std::string_view::npos) return hit;
    for (; scanned < hit; ++scanned) {
      leadRun = IsLeadByte(static_cast<unsigned char>(rest[scanned])) ? leadRun + 1 : 0;
    }
    if (leadRun % 2 == 0) return hit;
    from = hit + 1;
  }
}

}  // namespace

PieceList AnalyzeStr(std::string_view text, std::string_view delimiter) {
  text = UpToNul(text);
  delimiter = UpToNul(delimiter);
  PieceList pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t current = 0;
  for (;;) {
    const std::string_view rest = text.substr(current);
    const std::size_t hit = rest.empty() ? std::string_view::npos
                                         : FindOnCharacterBoundary(rest, delimiter);
    if (hit == std::string_view::npos) break;
    pieces.emplace_back(rest.substr(0, hit));
    current += hit + delimiter.size();
  }
  pieces.emplace_back(text.substr(current));
  return pieces;
}

}  // namespace umbra
