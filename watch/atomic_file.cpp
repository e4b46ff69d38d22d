#include "watch/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace umbra {

namespace {

[[noreturn]] void Fail(int error) { throw FileWriteError(error, std::strerror(error)); }

// Writes everything or reports the error of the write that fell short.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return ENOSPC;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  // Closing can report a write that failed late (on network file systems).
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

std::string TemporaryNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

}  // namespace

void ReplaceFileWhole(const std::string& path, std::string_view bytes) {
  struct stat existing {};
  const bool keepMode = ::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);

  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = TemporaryNameFor(path);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) Fail(errno);
  }
  if (fd < 0) Fail(EEXIST);
  FileDescriptor file(fd);

  int error = WriteAll(fd, bytes);
  if (error == 0 && keepMode && ::fchmod(fd, existing.st_mode & 07777) != 0) error = errno;
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (error == 0) error = file.Close();
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    Fail(error);
  }
}

void AppendToFile(const std::string& path, std::string_view bytes) {
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
  if (file.Get() < 0) Fail(errno);
  struct stat before {};
  if (::fstat(file.Get(), &before) != 0) Fail(errno);
  int error = WriteAll(file.Get(), bytes);
  if (error != 0) {
    if (::ftruncate(file.Get(), before.st_size) != 0) {
      // Nothing more can be done; the original error is the one to report.
    }
    Fail(error);
  }
  error = file.Close();
  if (error != 0) Fail(error);
}

}  // namespace umbra
