#pragma once
// Files read whole and written so that a crash or a full disk never leaves
// them half written: a file is replaced through a temporary file beside it,
// and an append that cannot be completed is taken back.

#include <stdexcept>
#include <string>
#include <string_view>

namespace umbra {

// what() is the system's text for the error; Errno() the number behind it.
class FileWriteError : public std::runtime_error {
 public:
  FileWriteError(int error, const std::string& what) : std::runtime_error(what), errno_(error) {}
  int Errno() const { return errno_; }

 private:
  int errno_;
};

// Reads the whole file into `bytes`. Returns 0, or the error number (EISDIR
// for a directory of that name).
int ReadWholeFile(const std::string& path, std::string& bytes);

// Writes `bytes` to a temporary file beside the target, flushes it and
// renames it over the target, so the file is replaced whole or not at all.
// An existing file keeps its permission bits (and, when we may, its owner);
// a new one gets 0666 less the umask. When `path` is a symbolic link, the
// file it points to is replaced and the link stays. On failure the target is
// untouched, no temporary file is left behind, and FileWriteError is thrown.
void ReplaceFileWhole(const std::string& path, std::string_view bytes);

// Appends `bytes` to the existing file `path`; when the write cannot be
// completed, the file is cut back to its former length and FileWriteError
// is thrown.
void AppendToFile(const std::string& path, std::string_view bytes);

}  // namespace umbra
