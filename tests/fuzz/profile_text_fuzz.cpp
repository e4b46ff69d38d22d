// The input is one line of names, then the text of a profile (ini) file:
//   section<TAB>key<TAB>value<TAB>other section<TAB>other key<LF>
//   [section]<CR><LF>...
// Setting `key` in `section` to `value` and reading it back must give the
// value, keep every byte of the file outside the one line that holds the key
// (or the lines added for it), and leave what the other names read as it
// was. That is asked only of what the program itself writes: names of whole
// GBK characters, and names and a value without blanks at either end or line
// ends, the value without enclosing quotes. Anything else must just not
// crash.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/gbk.h"
#include "settings/profile_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace umbra::fuzz {
namespace {

using settings::FindProfileValue;
using settings::ReadProfileValue;
using settings::WithProfileValue;

constexpr std::string_view kFallback = "\x01not there";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool IsTrailByte(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFE); }

// Whole GBK characters: every lead byte is followed by a byte that can end a
// double-byte character.
bool IsWholeGbk(std::string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (!IsLeadByte(static_cast<unsigned char>(text[at]))) continue;
    if (at + 1 == text.size() || !IsTrailByte(static_cast<unsigned char>(text[at + 1]))) return false;
    ++at;
  }
  return true;
}

bool IsWritableName(std::string_view name) {
  if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return false;
  if (!name.empty() && (IsBlank(name.front()) || IsBlank(name.back()))) return false;
  return IsWholeGbk(name);
}

bool IsWritableKey(std::string_view key) {
  // A key is never empty, never holds "=", and never starts like a comment
  // or a section header.
  return IsWritableName(key) && !key.empty() && key.find('=') == std::string_view::npos && key.front() != ';' &&
         key.front() != '[';
}

// Values need not be whole GBK: what the window writes is, but the editor
// must not depend on it.
bool IsWritableValue(std::string_view value) {
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  const bool blankAtEnd = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  return value.find_first_of("\r\n") == std::string_view::npos && !blankAtEnd && !quoted;
}

// Two names (whole GBK) that the profile reader takes for the same name:
// ASCII letters of single-byte characters match in any case.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t at = 0; at < a.size(); ++at) {
    const char x = a[at], y = b[at];
    if (IsLeadByte(static_cast<unsigned char>(x))) {
      if (x != y || a[at + 1] != b[at + 1]) return false;
      ++at;
      continue;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(x) != lower(y)) return false;
  }
  return true;
}

struct Line {
  std::string_view content;
  std::string_view end;  // CR LF, LF, CR, or nothing for the last line
  bool operator==(const Line&) const = default;
};

std::vector<Line> LinesOf(std::string_view text) {
  std::vector<Line> lines;
  while (!text.empty()) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) {
      lines.push_back({text, {}});
      break;
    }
    const std::size_t endLength = text.substr(at, 2) == "\r\n" ? 2 : 1;
    lines.push_back({text.substr(0, at), text.substr(at, endLength)});
    text.remove_prefix(at + endLength);
  }
  return lines;
}

// The result differs from the original in the key's line alone, or by the
// lines added for the key (after a line end the last line lacked).
void CheckOnlyTheKeyLineChanged(std::string_view original, std::string_view edited, std::string_view section,
                                std::string_view key, std::string_view value) {
  const std::vector<Line> before = LinesOf(original);
  const std::vector<Line> after = LinesOf(edited);
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const std::vector<Line> removed(before.begin() + prefix, before.end() - suffix);
  const std::vector<Line> added(after.begin() + prefix, after.end() - suffix);
  const std::string keyLine = std::string(key) + "=" + std::string(value);
  const std::string sectionLine = "[" + std::string(section) + "]";

  bool fits = false;
  if (removed.empty() && added.empty()) {
    fits = true;  // the key already held the value, written the same way
  } else if (removed.size() == 1 && added.size() == 1) {
    // The key's line: its indentation and key as written, "=", the value,
    // and its own line end.
    const std::string_view was = removed[0].content;
    const std::string_view now = added[0].content;
    const std::string tail = "=" + std::string(value);
    fits = added[0].end == removed[0].end && now.size() >= tail.size() &&
           now.substr(now.size() - tail.size()) == tail &&
           was.substr(0, now.size() - tail.size()) == now.substr(0, now.size() - tail.size());
  } else {
    // Lines added, after the last line gains the line end it lacked.
    std::size_t first = 0;
    bool fitsSoFar = true;
    if (!removed.empty()) {
      fitsSoFar = removed.size() == 1 && prefix + 1 == before.size() && removed[0].end.empty() && !added.empty() &&
                  added[0].content == removed[0].content && !added[0].end.empty();
      first = 1;
    }
    const std::size_t count = added.size() - std::min(first, added.size());
    fits = fitsSoFar && (count == 1 || count == 2) && added.back().content == keyLine &&
           (count == 1 || added[first].content == sectionLine);
  }
  // Added lines end the way the file's lines do, else with CR LF.
  for (const Line& line : added) {
    if (line.end.empty()) continue;
    bool known = false;
    for (const Line& old : before) known = known || old.end == line.end;
    if (!known && !(line.end == "\r\n" && std::all_of(before.begin(), before.end(), [](const Line& old) {
          return old.end.empty();
        }))) {
      fits = false;
    }
  }
  if (!fits) {
    std::string detail;
    for (const Line& line : removed) detail += "  removed: " + Shown(line.content) + Shown(line.end) + "\n";
    for (const Line& line : added) detail += "  added:   " + Shown(line.content) + Shown(line.end) + "\n";
    Broken("only the key's line changes", __FILE__, __LINE__, detail);
  }
}

}  // namespace
}  // namespace umbra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace umbra::fuzz;
  const std::string_view input = AsText(data, size);
  const std::size_t namesEnd = input.find('\n');
  if (namesEnd == std::string_view::npos) return 0;
  const std::string_view file = input.substr(namesEnd + 1);
  std::string_view names[5];
  std::string_view rest = input.substr(0, namesEnd);
  for (std::string_view& name : names) {
    const std::size_t tab = rest.find('\t');
    name = rest.substr(0, tab);
    rest = tab == std::string_view::npos ? std::string_view{} : rest.substr(tab + 1);
  }
  const auto [section, key, value, otherSection, otherKey] = names;

  // Any names, any file: nothing may crash.
  const std::string edited = WithProfileValue(file, section, key, value);
  const std::string readBack = ReadProfileValue(edited, section, key, kFallback);

  if (!IsWritableName(section) || !IsWritableKey(key) || !IsWritableValue(value)) return 0;
  FUZZ_CHECK_TEXT_EQ(readBack, value);
  CheckOnlyTheKeyLineChanged(file, edited, section, key, value);

  const std::pair<std::string_view, std::string_view> others[] = {
      {section, otherKey}, {otherSection, key}, {otherSection, otherKey}};
  for (const auto& [otherSectionName, otherKeyName] : others) {
    if (!IsWritableName(otherSectionName) || !IsWritableName(otherKeyName)) continue;
    if (SameName(otherSectionName, section) && SameName(otherKeyName, key)) continue;
    FUZZ_CHECK(FindProfileValue(edited, otherSectionName, otherKeyName) ==
               FindProfileValue(file, otherSectionName, otherKeyName));
  }
  return 0;
}
