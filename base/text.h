#pragma once
// Small helpers over 8-bit text that every layer needs: the part of a text
// the program's routines see, and ASCII-only case folding and trimming that
// never touch the bytes of a GBK character.

#include <string>
#include <string_view>

namespace umbra {

// The text before the first NUL byte: the part the program's routines see.
std::string_view UpToNul(std::string_view text);

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text);

// Equal when ASCII letters are folded to lower case; every other byte must
// match exactly.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Whether `word` occurs in `text`, ASCII letters folded.
bool ContainsIgnoringCase(std::string_view text, std::string_view word);

// Without the blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

// 0 to 15 for a hexadecimal digit of either case, -1 for any other byte.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace umbra
