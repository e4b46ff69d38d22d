#pragma once
// History files: one per watched number, "<number text>.txt" in the working
// directory, one GBK line per reported change, every line ended by CR LF.

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/files.h"

namespace umbra {

// A history file that cannot be named, read or written. what() is the text
// the event log shows.
class HistoryFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The history file's path relative to the working directory, in the file
// system's encoding (UTF-8). Throws HistoryFileError for a number text whose
// file name would not stay in the working directory (one holding "/" or
// "\") or that is not valid GBK. Number texts of dots alone are ordinary:
// "." has the file "..txt".
std::string HistoryFilePath(std::string_view numberText);

// The lines of a history file's bytes: cut at CR LF, lone CR and lone LF; a
// last line without a line end counts; an empty text has no lines. NUL bytes
// are kept like any other byte.
std::string NormalizedHistoryText(std::string_view fileBytes);

// Whether the bytes are exactly what writing their lines gives: every line
// ended by CR LF, no lone CR or LF (the same as NormalizedHistoryText(bytes)
// == bytes). Such a file takes a new line by a plain append.
bool IsInWrittenForm(std::string_view bytes);

// Appends history lines, each written whole or not at all. Any number of
// writers, in this process and in others (the window, console watchers), may
// share a folder: each write holds the folder's lock from its look at the
// file to the end of the write, so no line is lost.
class HistoryFiles {
 public:
  // Appends `line` and CR LF to the number's history file, creating it when
  // missing. A file in another form (lone CR or LF line ends, no final line
  // end) gets its line ends made uniform on the way, by a whole replacement.
  // A read-only file is left as it is and fails like any refused write:
  // "Cannot create file "<full path>". <system text>".
  void AppendLine(std::string_view numberText, std::string_view line);

 private:
  void Write(const std::string& path, const std::string& newLine);
  // Once per folder: temporary files that killed writers left behind.
  void RemoveStaleTemporaryFilesOnce(const FolderLock& lock);

  // What a file looked like right after this object last wrote it in the
  // program's own form. While it still looks the same, a new line is
  // appended in place instead of the whole file being read and rewritten.
  bool IsKnownInWrittenForm(const std::string& path, const FileIdentity& identity) const;
  void Remember(const std::string& path);

  std::map<std::string, FileIdentity> knownInWrittenForm_;
  std::set<FolderIdentity> cleanedFolders_;
};

}  // namespace umbra
