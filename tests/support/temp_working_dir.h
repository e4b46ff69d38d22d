#pragma once
// The program names its files relative to the working directory, so a test
// that touches files runs in a fresh empty directory of its own.

#include <filesystem>
#include <string>

namespace umbra::test {

class TempWorkingDir {
 public:
  TempWorkingDir();
  ~TempWorkingDir();
  TempWorkingDir(const TempWorkingDir&) = delete;
  TempWorkingDir& operator=(const TempWorkingDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// Whole-file helpers for byte-exact checks.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace umbra::test
