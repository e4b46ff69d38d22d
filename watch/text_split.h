#pragma once
// Cutting GBK text at a delimiter, the way the program cuts the numbers field,
// the presence reply and each reply entry.

#include <string>
#include <string_view>
#include <vector>

#include "base/gbk.h"
#include "base/text.h"

namespace umbra {

using PieceList = std::vector<std::string>;

// Cuts `text` at every occurrence of `delimiter`, left to right, without
// overlaps. Empty pieces are kept; the result always holds at least one piece.
// Both texts are read up to their first NUL byte. A match that would begin on
// the second byte of a double-byte character is not a match.
PieceList AnalyzeStr(std::string_view text, std::string_view delimiter);

}  // namespace umbra
