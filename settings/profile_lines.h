#pragma once
// The line structure of a profile (ini) file, as the profile-string functions
// see it. Only the reader and the editor of profile text use it.

#include <cstddef>
#include <string_view>
#include <vector>

namespace umbra::settings {

enum class LineKind {
  Blank,    // nothing but blanks
  Comment,  // first non-blank byte is ";"
  Section,  // "[name]"
  Key,      // "name=value", or a bare "name" that holds no value
};

// One line of the file. Offsets index the text the line was cut from; the
// views point into it.
struct ProfileLine {
  std::size_t begin = 0;       // first byte of the line
  std::size_t contentEnd = 0;  // first byte of the line end, or the end of the text
  std::size_t end = 0;         // first byte after the line end
  LineKind kind = LineKind::Blank;
  std::string_view name;       // section or key name without surrounding blanks
  std::size_t nameEnd = 0;     // key lines: offset just past the key as written
  bool hasValue = false;       // key lines: whether an "=" follows the name
  std::string_view value;      // key lines: the text after "=", blanks trimmed, quotes kept

  bool HasLineEnd() const { return end > contentEnd; }
};

// Cuts `text` into lines at CR LF, lone LF and lone CR. A last line without a
// line end is a line too; an empty text has no lines.
std::vector<ProfileLine> SplitProfileLines(std::string_view text);

// Whether two section or key names are the same name: ASCII letters match
// regardless of case, everything else byte for byte. The second byte of a
// double-byte character is never folded, since many of them are ASCII
// letters.
bool SameProfileName(std::string_view a, std::string_view b);

}  // namespace umbra::settings
