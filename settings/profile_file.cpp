#include "settings/profile_file.h"

#include <cerrno>
#include <cstring>

#include "watch/whole_file.h"

namespace umbra::settings {

std::optional<std::string> ReadFileIfReadable(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes) != 0) return std::nullopt;
  return bytes;
}

std::string ReadFileForEdit(const std::string& path) {
  std::string bytes;
  const int error = ReadWholeFile(path, bytes);
  if (error == ENOENT) return std::string();
  if (error != 0) throw FileWriteError(error, std::strerror(error));
  return bytes;
}

}  // namespace umbra::settings
