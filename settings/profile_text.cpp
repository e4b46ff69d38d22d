#include "settings/profile_text.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "settings/profile_lines.h"

namespace umbra::settings {

namespace {

// Where a key stands, or would go, in the lines of a file.
struct KeyPlace {
  std::optional<std::size_t> section;  // header of the first section of the name
  std::optional<std::size_t> key;      // first line of the key in that section
  std::size_t lastKeyOrHeader = 0;     // where a missing key is added after
};

KeyPlace FindKeyPlace(const std::vector<ProfileLine>& lines, std::string_view section,
                      std::string_view key) {
  KeyPlace place;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ProfileLine& line = lines[i];
    if (!place.section) {
      if (line.kind == LineKind::Section && SameProfileName(line.name, section)) {
        place.section = i;
        place.lastKeyOrHeader = i;
      }
      continue;
    }
    if (line.kind == LineKind::Section) break;
    if (line.kind != LineKind::Key) continue;
    place.lastKeyOrHeader = i;
    if (!place.key && SameProfileName(line.name, key)) place.key = i;
  }
  return place;
}

std::string_view LineEndOf(std::string_view text, const ProfileLine& line) {
  return text.substr(line.contentEnd, line.end - line.contentEnd);
}

// The line end that added lines take when no neighbour has one: the file's
// own, so an LF-only file stays LF-only.
std::string_view FileLineEnd(std::string_view text, const std::vector<ProfileLine>& lines) {
  for (const ProfileLine& line : lines) {
    if (line.HasLineEnd()) return LineEndOf(text, line);
  }
  return "\r\n";
}

std::string_view WithoutEnclosingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line;
  line.reserve(key.size() + 1 + value.size());
  line.append(key).append("=").append(value);
  return line;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
  const std::vector<ProfileLine> lines = SplitProfileLines(text);
  const KeyPlace place = FindKeyPlace(lines, section, key);
  if (!place.key || !lines[*place.key].hasValue) return std::nullopt;
  return std::string(WithoutEnclosingQuotes(lines[*place.key].value));
}

std::string ReadProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view fallback) {
  std::optional<std::string> value = FindProfileValue(text, section, key);
  return value ? std::move(*value) : std::string(fallback);
}

std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
  const std::vector<ProfileLine> lines = SplitProfileLines(text);
  const KeyPlace place = FindKeyPlace(lines, section, key);
  std::string result;
  result.reserve(text.size() + section.size() + key.size() + value.size() + 8);

  if (place.key) {
    const ProfileLine& line = lines[*place.key];
    result.append(text.substr(0, line.nameEnd)).append("=").append(value);
    result.append(text.substr(line.contentEnd));
    return result;
  }

  if (place.section) {
    const ProfileLine& anchor = lines[place.lastKeyOrHeader];
    if (anchor.HasLineEnd()) {
      result.append(text.substr(0, anchor.end));
      result.append(KeyLine(key, value)).append(LineEndOf(text, anchor));
      result.append(text.substr(anchor.end));
    } else {
      // The anchor is the file's last line and has no line end; the file
      // keeps ending without one.
      result.append(text).append(FileLineEnd(text, lines)).append(KeyLine(key, value));
    }
    return result;
  }

  const std::string_view lineEnd = FileLineEnd(text, lines);
  result.append(text);
  if (!lines.empty() && !lines.back().HasLineEnd()) result.append(lineEnd);
  result.append("[").append(section).append("]").append(lineEnd);
  result.append(KeyLine(key, value)).append(lineEnd);
  return result;
}

}  // namespace umbra::settings
