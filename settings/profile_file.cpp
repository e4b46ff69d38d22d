#include "settings/profile_file.h"

#include <cerrno>

#include "base/files.h"

namespace umbra::settings {

std::optional<std::string> ReadFileIfReadable(const std::string& path) {
  try {
    return ReadWholeFile(path);
  } catch (const FileError&) {
    return std::nullopt;
  }
}

std::string ReadFileForEdit(const std::string& path) {
  try {
    return ReadWholeFile(path);
  } catch (const FileError& e) {
    if (e.Errno() == ENOENT) return std::string();
    throw;
  }
}

}  // namespace umbra::settings
