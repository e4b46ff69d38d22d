#pragma once
// The program names its files relative to the working directory, so a test
// that touches files runs in a fresh empty directory of its own.

#include <filesystem>
#include <map>
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

// Whole-file helpers for byte-exact checks. A file that cannot be read
// (missing, or closed to this user) reads as "<cannot read PATH: REASON>",
// which no test expects as content, so the check that uses it fails with a
// message instead of the helper throwing out of the test.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// Every entry of a directory, hidden ones included, with what a write could
// change about it: kind, inode, permission bits, owner and bytes (or why they
// cannot be read). Two equal snapshots mean nothing was replaced, changed,
// added or left behind.
std::map<std::string, std::string> DirectorySnapshot(const std::filesystem::path& directory);

}  // namespace umbra::test
