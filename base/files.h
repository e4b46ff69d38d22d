#pragma once
// Files read whole and written so that a crash, a kill or a full disk never
// leaves them half written, nor a stray file beside them:
// - existing bytes are replaced whole or not at all, through a temporary file
//   that has no name until it is complete (ReplaceFileWhole);
// - a file that does not exist yet is written directly: it has no bytes to
//   lose (WriteNewFile);
// - an append that cannot be completed is taken back (AppendToFile).
// A file the user made read-only is never written, whoever runs the program.
// Every operation reports a failure the same way: it throws FileError.

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace umbra {

// A file operation the system refused. what() is the system's text for the
// error in GBK (SystemErrorText); Errno() the number behind it.
class FileError : public std::runtime_error {
 public:
  explicit FileError(int error);
  int Errno() const { return errno_; }

 private:
  int errno_;
};

// The file's bytes. Throws FileError (ENOENT for a missing file, EISDIR for a
// directory of that name).
std::string ReadWholeFile(const std::string& path);

// Reads the file piece by piece, handing each piece to `take` in order,
// without holding the whole file in memory: for a look over a long file that
// must cost no more than reading it. Stops early when `take` returns false.
// Throws FileError like ReadWholeFile.
void ReadFileInPieces(const std::string& path, const std::function<bool(std::string_view piece)>& take);

// How ReplaceFileWhole makes its temporary file.
enum class TemporaryFile {
  // A file without a name (O_TMPFILE) that gets one only once it is complete
  // and synced, just before it is renamed into place; a named one where the
  // file system cannot make it.
  UnnamedWhereSupported,
  // Always a named one, as on file systems without unnamed files.
  Named,
};

// Writes `bytes` to a temporary file beside the target, syncs it and renames
// it over the target, so the file is replaced whole or not at all. The
// temporary file is named, if at all, "." + the target's name +
// ".tmp-<process id>-<count>", hidden from ordinary listings; a writer killed
// while it has that name leaves it to RemoveStaleTemporaryFiles.
// An existing file keeps its permission bits (and, when we may, its owner);
// a new one gets 0666 less the umask. When `path` is a symbolic link, the
// file it points to is replaced and the link stays. A read-only file (see
// AppendToFile) is refused with EACCES before anything is written. On
// failure the target is untouched, no temporary file is left behind, and
// FileError is thrown.
void ReplaceFileWhole(const std::string& path, std::string_view bytes,
                      TemporaryFile temporary = TemporaryFile::UnnamedWhereSupported);

// Creates `path` holding `bytes`, straight away: no temporary file, no sync.
// Returns false, touching nothing, when something of that name exists
// already (a dangling symbolic link included). When the write cannot be
// completed, the file is removed again and FileError is thrown.
bool WriteNewFile(const std::string& path, std::string_view bytes);

// Appends `bytes` to the existing file `path`; when the write cannot be
// completed, the file is cut back to its former length and FileError is
// thrown. A read-only file is refused with EACCES: one that this process may
// not write, and one whose mode grants write to nobody, even when root runs
// the program, since users know read-only as a mark that stops everyone.
void AppendToFile(const std::string& path, std::string_view bytes);

// What a file looked like at one moment: enough to tell whether anyone has
// changed it since.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::int64_t changeSeconds = 0;
  std::int64_t changeNanoseconds = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct FileStatus {
  bool regular = false;  // a plain file, not a directory or a device
  FileIdentity identity;
};

// How `path` stands now (a symbolic link is followed); nothing when there is
// no such file or it cannot be looked at.
std::optional<FileStatus> StatFile(const std::string& path);

// Which folder a lock is on, to tell folders apart.
struct FolderIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  auto operator<=>(const FolderIdentity&) const = default;
};

// An exclusive lock on a folder, held for the life of the object, that every
// process locking the same folder this way waits for: the window and any
// number of console watchers take it around each write of their files in a
// shared folder. The folder itself is locked (flock on the open folder), so
// no lock file appears among the user's files; the lock goes with the
// process if it dies.
class FolderLock {
 public:
  // Waits until the lock is ours. A folder that cannot be opened for reading
  // or locked (no read permission, a file system without locks) is left
  // unlocked: the writes that follow succeed or fail on their own.
  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  // The locked folder; nothing when the lock is not held.
  std::optional<FolderIdentity> Identity() const;

  // Removes the temporary files that writers killed in mid-write left in the
  // folder: regular files named [.]<target>.tmp-<process id>-<count> whose
  // process has ended, for targets that `isOurs` accepts. Files of a process
  // that still runs, or that this process may not signal, stay.
  void RemoveStaleTemporaryFiles(const std::function<bool(std::string_view target)>& isOurs) const;

 private:
  int fd_ = -1;
};

}  // namespace umbra
