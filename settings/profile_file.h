#pragma once
// The files under profile_text.h: read whole, replaced whole.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace umbra::settings {

// A profile file that could not be written. what() says why in the system's
// words; Errno() is the error number behind it.
class ProfileWriteError : public std::runtime_error {
 public:
  ProfileWriteError(int error, const std::string& what) : std::runtime_error(what), errno_(error) {}
  int Errno() const { return errno_; }

 private:
  int errno_;
};

// The bytes of the file, or nothing when it is missing or cannot be read:
// a reader of settings treats both alike and never fails.
std::optional<std::string> ReadFileIfReadable(const std::string& path);

// The bytes to edit before writing: the file's bytes, or the empty text when
// there is no file yet. A file that exists but cannot be read throws
// ProfileWriteError, so that a write never replaces what it could not see.
std::string ReadFileForEdit(const std::string& path);

// Writes `bytes` to a temporary file beside the target, flushes it and
// renames it over the target, so the file is replaced whole or not at all.
// An existing file keeps its permission bits (and, when we may, its owner);
// a new one gets 0666 less the umask. When `path` is a symbolic link, the
// file it points to is replaced and the link stays. On failure the target is
// untouched, no temporary file is left behind, and ProfileWriteError is
// thrown.
void ReplaceFileWhole(const std::string& path, std::string_view bytes);

// Sets one value in the file: read, change, replace whole.
void WriteProfileValue(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value);

}  // namespace umbra::settings
