#include "watch/text_split.h"

namespace umbra {

PieceCursor::PieceCursor(std::string_view text, std::string_view delimiter)
    : text_(UpToNul(text)), delimiter_(UpToNul(delimiter)) {}

// The first occurrence of the delimiter at or after the current position that
// does not begin on a trailing byte: a byte that stands directly behind an
// odd number of consecutive lead bytes, counted from the current position.
// The run before a hit is counted backwards, and only as far as the previous
// hit, whose run is carried over: text without lead bytes costs no more than
// the byte search itself, and no byte is counted twice, so the search stays
// linear whatever the text.
std::size_t PieceCursor::FindOnCharacterBoundary() const {
  if (delimiter_.empty() || current_ >= text_.size()) return std::string_view::npos;
  std::size_t countedFrom = current_;  // bytes before it have been counted
  std::size_t runAtCounted = 0;        // lead bytes directly before countedFrom
  std::size_t from = current_;
  for (;;) {
    const std::size_t hit = delimiter_.size() == 1 ? text_.find(delimiter_.front(), from)
                                                   : text_.find(delimiter_, from);
    if (hit == std::string_view::npos) return hit;
    std::size_t pos = hit;
    while (pos > countedFrom && IsLeadByte(static_cast<unsigned char>(text_[pos - 1]))) --pos;
    const std::size_t leadRun = hit - pos + (pos == countedFrom ? runAtCounted : 0);
    if (leadRun % 2 == 0) return hit;
    countedFrom = hit;
    runAtCounted = leadRun;
    from = hit + 1;
  }
}

std::optional<std::string_view> PieceCursor::NextBeforeDelimiter() {
  const std::size_t hit = FindOnCharacterBoundary();
  if (hit == std::string_view::npos) return std::nullopt;
  const std::string_view piece = text_.substr(current_, hit - current_);
  current_ = hit + delimiter_.size();
  return piece;
}

PieceList AnalyzeStr(std::string_view text, std::string_view delimiter) {
  PieceCursor cursor(text, delimiter);
  PieceList pieces;
  while (const std::optional<std::string_view> piece = cursor.NextBeforeDelimiter()) pieces.emplace_back(*piece);
  pieces.emplace_back(cursor.Rest());
  return pieces;
}

}  // namespace umbra
