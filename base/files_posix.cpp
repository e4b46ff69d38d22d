#include "base/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "base/file_descriptor.h"

namespace umbra {

namespace {

using os::FileDescriptor;

[[noreturn]] void Fail(int error) { throw FileError(error); }

// Writes everything or reports the error of the write that fell short.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

// The file a write lands in: the target of a symbolic link, so that a file
// kept elsewhere and linked in stays where it is.
std::string WriteTarget(const std::string& path) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// Makes the rename itself survive a crash. Not every file system lets a
// directory be synced; the file is in place either way.
void SyncDirectoryOf(const std::string& path) {
  FileDescriptor directory(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.IsOpen()) (void)::fsync(directory.Get());
}

}  // namespace

FileError::FileError(int error) : std::runtime_error(std::strerror(error)), errno_(error) {}

std::string ReadWholeFile(const std::string& path) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.IsOpen()) Fail(errno);
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (n == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

void ReplaceFileWhole(const std::string& path, std::string_view bytes) {
  const std::string target = WriteTarget(path);
  struct stat existing {};
  const bool replacing = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);

  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryNameFor(target);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) Fail(errno);
  }
  if (fd < 0) Fail(EEXIST);
  FileDescriptor file(fd);

  int error = WriteAll(fd, bytes);
  if (error == 0 && replacing) {
    // Only a privileged writer may hand the file back to its owner; for
    // anyone else the owner is already right or cannot be kept.
    if (::geteuid() == 0) (void)::fchown(fd, existing.st_uid, existing.st_gid);
    if (::fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (error == 0) error = file.Close();
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    Fail(error);
  }
  SyncDirectoryOf(target);
}

void AppendToFile(const std::string& path, std::string_view bytes) {
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
  if (!file.IsOpen()) Fail(errno);
  struct stat before {};
  if (::fstat(file.Get(), &before) != 0) Fail(errno);
  int error = WriteAll(file.Get(), bytes);
  if (error != 0) {
    // Take back the part that made it, so the file keeps whole lines only.
    (void)::ftruncate(file.Get(), before.st_size);
    Fail(error);
  }
  error = file.Close();
  if (error != 0) Fail(error);
}

std::optional<FileStatus> StatFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  FileStatus status;
  status.regular = S_ISREG(st.st_mode);
  status.identity = FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                                 static_cast<std::int64_t>(st.st_size), static_cast<std::int64_t>(st.st_ctim.tv_sec),
                                 static_cast<std::int64_t>(st.st_ctim.tv_nsec)};
  return status;
}

}  // namespace umbra
