#include "settings/profile_lines.h"

#include "base/gbk.h"
#include "base/text.h"

namespace umbra::settings {

namespace {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// The second byte of a GBK double-byte character. Unlike the lead byte it
// overlaps ASCII: "@", the capital and small letters, "[", "\", "]", "^",
// "_", "`", "{", "|", "}" and "~" can all be the tail of a Chinese character,
// while "=", ";", blanks, quotes and line ends never can.
constexpr bool IsTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE);
}

// Bytes taken by the character that starts at `at`. A lead byte without a
// proper second byte (text that is not valid GBK) stands alone, so that
// broken text never swallows a byte that means something to the file's
// syntax.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  if (IsLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() &&
      IsTrailByte(static_cast<unsigned char>(text[at + 1]))) {
    return 2;
  }
  return 1;
}

// The profile functions count vertical tabs and form feeds as blanks too.
std::string_view TrimProfileBlanks(std::string_view text) {
  // Blanks are never the second byte of a character, so plain byte
  // trimming cannot cut one.
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

constexpr std::size_t kNone = std::string_view::npos;

// Position of the first `wanted` that is a character of its own, from `from`.
std::size_t FindFirstCharacter(std::string_view text, char wanted, std::size_t from = 0) {
  for (std::size_t at = from; at < text.size(); at += CharacterLength(text, at)) {
    if (text[at] == wanted) return at;
  }
  return kNone;
}

// Position of the last `wanted` that is a character of its own, from `from`.
std::size_t FindLastCharacter(std::string_view text, char wanted, std::size_t from = 0) {
  std::size_t found = kNone;
  for (std::size_t at = from; at < text.size(); at += CharacterLength(text, at)) {
    if (text[at] == wanted) found = at;
  }
  return found;
}

void Classify(std::string_view text, ProfileLine& line) {
  const std::string_view content = TrimProfileBlanks(text.substr(line.begin, line.contentEnd - line.begin));
  if (content.empty()) {
    line.kind = LineKind::Blank;
    return;
  }
  if (content.front() == ';') {
    line.kind = LineKind::Comment;
    return;
  }
  if (content.front() == '[') {
    // The name runs to the last "]" of the line, so a "]" inside a name
    // (or inside a Chinese character) does not end it early.
    const std::size_t close = FindLastCharacter(content, ']', 1);
    if (close != kNone) {
      line.kind = LineKind::Section;
      line.name = TrimProfileBlanks(content.substr(1, close - 1));
      return;
    }
    // Without a closing bracket the line is an ordinary key line.
  }
  line.kind = LineKind::Key;
  const std::size_t equals = FindFirstCharacter(content, '=');
  line.hasValue = equals != kNone;
  line.name = TrimProfileBlanks(content.substr(0, equals));
  line.value = line.hasValue ? TrimProfileBlanks(content.substr(equals + 1)) : std::string_view();
  line.nameEnd = static_cast<std::size_t>(line.name.data() - text.data()) + line.name.size();
}

}  // namespace

std::vector<ProfileLine> SplitProfileLines(std::string_view text) {
  std::vector<ProfileLine> lines;
  std::size_t begin = 0;
  while (begin < text.size()) {
    ProfileLine line;
    line.begin = begin;
    // CR and LF are never the second byte of a character, so the text can be
    // cut at them byte by byte.
    const std::size_t lineEnd = text.find_first_of("\r\n", begin);
    if (lineEnd == std::string_view::npos) {
      line.contentEnd = line.end = text.size();
    } else {
      line.contentEnd = lineEnd;
      const bool crLf = text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n';
      line.end = lineEnd + (crLf ? 2 : 1);
    }
    Classify(text, line);
    lines.push_back(line);
    begin = line.end;
  }
  return lines;
}

bool SameProfileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t at = 0; at < a.size();) {
    const std::size_t length = CharacterLength(a, at);
    if (length == 2) {
      if (a.substr(at, 2) != b.substr(at, 2)) return false;
    } else if (LowerAscii(a[at]) != LowerAscii(b[at])) {
      return false;
    }
    at += length;
  }
  return true;
}

}  // namespace umbra::settings
