#pragma once
// Cutting GBK text at a delimiter, the way the program cuts the numbers field,
// the presence reply and each reply entry.

#include <string>
#include <string_view>
#include <vector>

namespace umbra {

using PieceList = std::vector<std::string>;

// True for the bytes that begin a double-byte character in code page 936.
constexpr bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Cuts `text` at every occurrence of `delimiter`, left to right, without
// overlaps. Empty pieces are kept; the result always holds at least one piece.
// Both texts are read up to their first NUL byte. A match that would begin on
// the second byte of a double-byte character is not a match.
PieceList AnalyzeStr(std::string_view text, std::string_view delimiter);

// The text before the first NUL byte: the part the program's routines see.
std::string_view UpToNul(std::string_view text);

}  // namespace umbra
