#include "base/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/file_descriptor.h"
#include "base/regional_format.h"

namespace umbra {

namespace {

using os::FileDescriptor;

constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kPieceSize = 256 * 1024;

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

// Whether the user made the file read-only, as the error to report: no write
// permission for anyone (root included: users know read-only as a mark that
// stops everyone), or none for this process.
int ReadOnlyError(const std::string& path, const struct stat& st) {
  if ((st.st_mode & 0222) == 0) return EACCES;
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return errno;
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

// "." + the target's name + ".tmp-<pid>-<count>", beside the target.
std::string HiddenTemporaryNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  const std::size_t nameStart = target.rfind('/') + 1;  // 0 without a slash
  return target.substr(0, nameStart) + "." + target.substr(nameStart) + std::string(kTemporaryMark) +
         std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// Makes the rename itself survive a crash. Not every file system lets a
// directory be synced; the file is in place either way.
void SyncDirectoryOf(const std::string& path) {
  FileDescriptor directory(::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.IsOpen()) (void)::fsync(directory.Get());
}

// The errors by which a kernel or file system says it makes no unnamed files.
bool NoUnnamedFiles(int error) { return error == EOPNOTSUPP || error == EISDIR || error == EINVAL; }

// Writes the temporary file's bytes, gives it the permissions of the file it
// will replace and syncs it. Returns 0 or the error.
int Fill(int fd, std::string_view bytes, const struct stat* replaced) {
  int error = WriteAll(fd, bytes);
  if (error == 0 && replaced != nullptr) {
    // Only a privileged writer may hand the file back to its owner; for
    // anyone else the owner is already right or cannot be kept.
    if (::geteuid() == 0) (void)::fchown(fd, replaced->st_uid, replaced->st_gid);
    if (::fchmod(fd, replaced->st_mode & 07777) != 0) error = errno;
  }
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  return error;
}

// Gives an unnamed file the name `name`. Returns 0 or the error.
int LinkUnnamed(int fd, const std::string& name) {
  char self[64];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  if (::linkat(AT_FDCWD, self, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  const int error = errno;
  if (error == EEXIST) return error;
  // Without /proc; allowed to privileged processes, and on newer kernels to
  // the process that made the file.
  if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
  return errno == EEXIST ? EEXIST : error;
}

// The complete replacement as an unnamed file, named under a hidden
// temporary name. Returns the name, or nothing when this file system makes
// no unnamed files or they cannot be named here; throws for other failures.
std::optional<std::string> UnnamedTemporary(const std::string& target, std::string_view bytes,
                                            const struct stat* replaced) {
  FileDescriptor file(::open(DirectoryOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  if (!file.IsOpen()) {
    if (NoUnnamedFiles(errno)) return std::nullopt;
    Fail(errno);
  }
  int error = Fill(file.Get(), bytes, replaced);
  if (error != 0) Fail(error);  // nothing has a name yet
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = HiddenTemporaryNameFor(target);
    error = LinkUnnamed(file.Get(), name);
    if (error == 0) {
      error = file.Close();
      if (error != 0) {
        ::unlink(name.c_str());
        Fail(error);
      }
      return name;
    }
    if (error != EEXIST) break;
  }
  return std::nullopt;
}

// The complete replacement as a hidden named file.
std::string NamedTemporary(const std::string& target, std::string_view bytes, const struct stat* replaced) {
  std::string name;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    name = HiddenTemporaryNameFor(target);
    fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) Fail(errno);
  }
  if (fd < 0) Fail(EEXIST);
  FileDescriptor file(fd);
  int error = Fill(fd, bytes, replaced);
  if (error == 0) error = file.Close();
  if (error != 0) {
    ::unlink(name.c_str());
    Fail(error);
  }
  return name;
}

// The process whose temporary file `name` is ([.]<target>.tmp-<pid>-<count>
// with a target that `isOurs` accepts), or 0.
pid_t WriterOfTemporary(std::string_view name, const std::function<bool(std::string_view)>& isOurs) {
  const std::size_t mark = name.rfind(kTemporaryMark);
  if (mark == std::string_view::npos || mark == 0) return 0;
  const std::string_view numbers = name.substr(mark + kTemporaryMark.size());
  const std::size_t dash = numbers.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash > 9 || dash + 1 == numbers.size()) return 0;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i != dash && (numbers[i] < '0' || numbers[i] > '9')) return 0;
  }
  const std::string_view target = name.substr(0, mark);
  if (!isOurs(target) && !(target[0] == '.' && target.size() > 1 && isOurs(target.substr(1)))) return 0;
  return static_cast<pid_t>(std::atol(std::string(numbers.substr(0, dash)).c_str()));
}

}  // namespace

FileError::FileError(int error) : std::runtime_error(SystemErrorText(error)), errno_(error) {}

std::string ReadWholeFile(const std::string& path) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.IsOpen()) Fail(errno);
  std::string bytes;
  struct stat st {};
  if (::fstat(file.Get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    bytes.reserve(static_cast<std::size_t>(st.st_size));
  }
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

void ReadFileInPieces(const std::string& path, const std::function<bool(std::string_view piece)>& take) {
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file.IsOpen()) Fail(errno);
  // Large enough that the calls cost little next to the copying, small
  // enough to stay in the processor's cache; kept for the thread's next file.
  thread_local std::unique_ptr<char[]> buffer(new char[kPieceSize]);
  for (;;) {
    const ssize_t n = ::read(file.Get(), buffer.get(), kPieceSize);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (n == 0 || !take(std::string_view(buffer.get(), static_cast<std::size_t>(n)))) return;
  }
}

void ReplaceFileWhole(const std::string& path, std::string_view bytes, TemporaryFile temporary) {
  const std::string target = WriteTarget(path);
  struct stat existing {};
  const bool replacing = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
  if (replacing) {
    if (const int error = ReadOnlyError(target, existing)) Fail(error);
  }
  const struct stat* replaced = replacing ? &existing : nullptr;

  std::optional<std::string> name;
  if (temporary == TemporaryFile::UnnamedWhereSupported) name = UnnamedTemporary(target, bytes, replaced);
  if (!name) name = NamedTemporary(target, bytes, replaced);
  if (::rename(name->c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(name->c_str());
    Fail(error);
  }
  SyncDirectoryOf(target);
}

bool WriteNewFile(const std::string& path, std::string_view bytes) {
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (!file.IsOpen()) {
    if (errno == EEXIST) return false;
    Fail(errno);
  }
  int error = WriteAll(file.Get(), bytes);
  if (error == 0) error = file.Close();
  if (error != 0) {
    ::unlink(path.c_str());
    Fail(error);
  }
  return true;
}

void AppendToFile(const std::string& path, std::string_view bytes) {
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
  if (!file.IsOpen()) Fail(errno);
  struct stat before {};
  if (::fstat(file.Get(), &before) != 0) Fail(errno);
  // The open already refused what this process may not write; a file that
  // grants write to nobody stops root too.
  if ((before.st_mode & 0222) == 0) Fail(EACCES);
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

FolderLock::FolderLock(const std::string& folder)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (fd_ < 0) return;
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    ::close(fd_);
    fd_ = -1;
    return;
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

std::optional<FolderIdentity> FolderLock::Identity() const {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return std::nullopt;
  return FolderIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

void FolderLock::RemoveStaleTemporaryFiles(const std::function<bool(std::string_view target)>& isOurs) const {
  if (fd_ < 0) return;
  // A descriptor of its own, since reading a folder moves its position.
  const int listing = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return;
  DIR* folder = ::fdopendir(listing);
  if (folder == nullptr) {
    ::close(listing);
    return;
  }
  const pid_t self = ::getpid();
  while (const dirent* entry = ::readdir(folder)) {
    const pid_t writer = WriterOfTemporary(entry->d_name, isOurs);
    if (writer <= 0 || writer == self) continue;
    // Only a process that is gone for certain: one that runs, or that we may
    // not signal, may be writing the file right now.
    if (::kill(writer, 0) == 0 || errno != ESRCH) continue;
    struct stat st {};
    if (::fstatat(fd_, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    (void)::unlinkat(fd_, entry->d_name, 0);
  }
  ::closedir(folder);
}

}  // namespace umbra
