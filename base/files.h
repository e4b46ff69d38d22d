#pragma once
// Files read whole and written so that a crash or a full disk never leaves
// them half written: a file is replaced through a temporary file beside it,
// and an append that cannot be completed is taken back. Every operation here
// reports a failure the same way: it throws FileError.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace umbra {

// A file operation the system refused. what() is the system's text for the
// error; Errno() the number behind it.
class FileError : public std::runtime_error {
 public:
  explicit FileError(int error);
  int Errno() const { return errno_; }

 private:
  int errno_;
};

// The file's bytes. Throws FileError (ENOENT for a missing file, EISDIR for a
// directory of that name).
std::string ReadWholeFile(const std::string& path);

// Writes `bytes` to a temporary file beside the target, flushes it and
// renames it over the target, so the file is replaced whole or not at all.
// An existing file keeps its permission bits (and, when we may, its owner);
// a new one gets 0666 less the umask. When `path` is a symbolic link, the
// file it points to is replaced and the link stays. On failure the target is
// untouched, no temporary file is left behind, and FileError is thrown.
void ReplaceFileWhole(const std::string& path, std::string_view bytes);

// Appends `bytes` to the existing file `path`; when the write cannot be
// completed, the file is cut back to its former length and FileError is
// thrown.
void AppendToFile(const std::string& path, std::string_view bytes);

// What a file looked like at one moment: enough to tell whether anyone has
// changed it since.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t changeSeconds = 0;
  std::int64_t changeNanoseconds = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct FileStatus {
  bool regular = false;  // a plain file, not a directory or a device
  FileIdentity identity;
};

// How `path` stands now (a symbolic link is followed); nothing when there is
// no such file or it cannot be looked at.
std::optional<FileStatus> StatFile(const std::string& path);

}  // namespace umbra
