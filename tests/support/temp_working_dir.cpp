#include "tests/support/temp_working_dir.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace umbra::test {

TempWorkingDir::TempWorkingDir() : previous_(std::filesystem::current_path()) {
  std::string pattern = (std::filesystem::temp_directory_path() / "umbrascope-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  std::filesystem::current_path(path_);
}

TempWorkingDir::~TempWorkingDir() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  // Tests may leave read-only directories behind; make them removable first.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const int error = errno;
    return "<cannot read " + path.string() + ": " + (error != 0 ? std::strerror(error) : "unknown") + ">";
  }
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::map<std::string, std::string> DirectorySnapshot(const std::filesystem::path& directory) {
  std::map<std::string, std::string> entries;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    struct stat st {};
    std::string description;
    if (::lstat(entry.path().c_str(), &st) != 0) {
      description = std::string("<cannot stat: ") + std::strerror(errno) + ">";
    } else {
      description = std::string(S_ISREG(st.st_mode) ? "file" : S_ISDIR(st.st_mode) ? "directory" : "other") +
                    " inode " + std::to_string(st.st_ino) + " mode " + std::to_string(st.st_mode & 07777) +
                    " owner " + std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid);
      if (S_ISREG(st.st_mode)) description += " bytes " + ReadFileBytes(entry.path());
    }
    entries[entry.path().filename().string()] = description;
  }
  if (error) entries["<cannot list>"] = error.message();
  return entries;
}

}  // namespace umbra::test
