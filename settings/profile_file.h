#pragma once
// Reading profile files for the two uses settings have: a load that never
// fails, and the read before an edit, which must not go on blind.

#include <optional>
#include <string>

namespace umbra::settings {

// The bytes of the file, or nothing when it is missing or cannot be read:
// a reader of settings treats both alike and never fails.
std::optional<std::string> ReadFileIfReadable(const std::string& path);

// The bytes to edit before writing: the file's bytes, or the empty text when
// there is no file yet. A file that exists but cannot be read throws
// FileError, so that a write never replaces what it could not see.
std::string ReadFileForEdit(const std::string& path);

}  // namespace umbra::settings
