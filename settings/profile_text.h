#pragma once
// Reading and changing one value in the text of a profile (ini) file, the way
// the system's profile-string functions treat the files users keep. Pure
// functions over GBK bytes; the file itself is profile_file.h's job.
//
// Reading: section and key names match regardless of ASCII case; blanks
// around names, around "=" and around the value do not count; a value in a
// pair of matching quotes (" or ') comes without them; lines that start with
// ";" are comments; the first section of a name and the first key of a name
// in it win. Values are returned whole, however long.
//
// Changing: only the bytes of the one key line (or of the lines added) change;
// every other byte of the file, line ends included, stays as it was.

#include <optional>
#include <string>
#include <string_view>

namespace umbra::settings {

// The value of `key` in `section`, or nothing when the section, the key or
// the key's "=" is missing.
std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key);

// The value of `key` in `section`, or `fallback` when FindProfileValue finds
// none. A key present with an empty value gives the empty text.
std::string ReadProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view fallback);

// `text` with `key` in `section` set to `value`, stored as given (not quoted).
// - The key's line becomes its indentation and key as written, "=", the value.
// - A missing key is added after the last key line of its section.
// - A missing section is added, with the key, at the end of the text.
// Added lines end like the neighbouring line, else like the file's first
// line, else with CR LF.
std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

}  // namespace umbra::settings
