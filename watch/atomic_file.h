#pragma once
// Writing files so that a crash or a full disk never leaves them half
// written: a file is replaced whole through a temporary file beside it, and
// an append that cannot be completed is taken back.

#include <stdexcept>
#include <string>
#include <string_view>

namespace umbra {

class FileWriteError : public std::runtime_error {
 public:
  FileWriteError(int error, const std::string& what) : std::runtime_error(what), errno_(error) {}
  int Errno() const { return errno_; }

 private:
  int errno_;
};

// Writes `bytes` to a temporary file in the same directory, flushes it to
// disk and renames it over `path`. An existing file keeps its permissions; a
// new one gets the usual 0666 less the umask. On failure `path` is untouched.
void ReplaceFileWhole(const std::string& path, std::string_view bytes);

// Appends `bytes` to the existing file `path`; when the write cannot be
// completed, the file is cut back to its former length.
void AppendToFile(const std::string& path, std::string_view bytes);

}  // namespace umbra
