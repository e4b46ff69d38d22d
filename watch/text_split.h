#pragma once
// Cutting GBK text at a delimiter, the way the program cuts the numbers field,
// the presence reply and each reply entry.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/gbk.h"
#include "base/text.h"

namespace umbra {

using PieceList = std::vector<std::string>;

// Walks the pieces of a text cut at a delimiter, one at a time, as views into
// the text: a caller that needs only the first few pieces pays for those
// alone, and nothing is copied. Cuts are found left to right, without
// overlaps. Both texts are read up to their first NUL byte. A match that
// would begin on the second byte of a double-byte character is not a match.
class PieceCursor {
 public:
  // `text` must outlive the cursor and every piece it hands out.
  PieceCursor(std::string_view text, std::string_view delimiter);

  // The piece from the current position up to the next delimiter, moving
  // past that delimiter; nothing when no further delimiter follows.
  std::optional<std::string_view> NextBeforeDelimiter();

  // The text after the last delimiter taken: the last piece once
  // NextBeforeDelimiter has found nothing.
  std::string_view Rest() const { return text_.substr(current_); }

 private:
  std::size_t FindOnCharacterBoundary() const;

  std::string_view text_;
  std::string_view delimiter_;
  std::size_t current_ = 0;
};

// Cuts `text` at every occurrence of `delimiter` (the pieces PieceCursor
// walks, as a list). Empty pieces are kept; the result always holds at least
// one piece; an empty delimiter gives the whole text.
PieceList AnalyzeStr(std::string_view text, std::string_view delimiter);

}  // namespace umbra
