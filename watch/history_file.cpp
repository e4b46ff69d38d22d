#include "watch/history_file.h"

#include <filesystem>

#include "base/files.h"
#include "base/gbk.h"
#include "base/regional_format.h"
#include "base/text.h"
#include "watch/history_file_form.h"

namespace umbra {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string FullPathForMessage(const std::string& path) {
  std::error_code ignored;
  return Utf8ToGbk(std::filesystem::absolute(path, ignored).string());
}

[[noreturn]] void ThrowCannot(const char* what, const std::string& path, int error) {
  throw HistoryFileError(std::string("Cannot ") + what + " file \"" + FullPathForMessage(path) +
                         "\". " + SystemErrorText(error));
}

// Whether the file is in the written form, read piece by piece.
bool IsFileInWrittenForm(const std::string& path) {
  history_form::WrittenFormCheck<> check;
  ReadFileInPieces(path, [&check](std::string_view piece) { return check.Take(piece); });
  return check.InForm();
}

// The files this program writes in a history folder: the history files and
// the settings file beside them.
bool IsOurFileName(std::string_view name) { return name.ends_with(".txt") || name == "Config.ini"; }

std::string ReadHistoryFile(const std::string& path) {
  try {
    return ReadWholeFile(path);
  } catch (const FileError& e) {
    ThrowCannot("open", path, e.Errno());
  }
}

bool CheckedInWrittenForm(const std::string& path) {
  try {
    return IsFileInWrittenForm(path);
  } catch (const FileError& e) {
    ThrowCannot("open", path, e.Errno());
  }
}

}  // namespace

std::string HistoryFilePath(std::string_view numberText) {
  const std::string_view number = UpToNul(numberText);
  std::string name;
  try {
    name = GbkToUtf8(number, OnInvalid::Throw);
  } catch (const EncodingError&) {
    throw HistoryFileError("Cannot create file \"" + std::string(number) +
                           ".txt\". The number is not valid GBK text");
  }
  std::string fileName = name + ".txt";
  // The file name is what must stay in the working directory, and only a
  // separator leads out of it: with ".txt" after it, no name is "." or "..",
  // and number texts of dots alone name ordinary files ("..txt", "...txt").
  if (fileName.find_first_of("/\\") != std::string::npos) {
    throw HistoryFileError("Cannot create file \"" + std::string(number) +
                           ".txt\". A number must not name a place outside the working directory");
  }
  return fileName;
}

bool IsInWrittenForm(std::string_view bytes) {
  history_form::WrittenFormCheck<> check;
  check.Take(bytes);
  return check.InForm();
}

std::string NormalizedHistoryText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16 + 2);
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      out.append(bytes.substr(start));
      out.append(kLineEnd);
      break;
    }
    out.append(bytes.substr(start, end - start));
    out.append(kLineEnd);
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return out;
}

void HistoryFiles::Remember(const std::string& path) {
  if (const auto status = StatFile(path)) {
    knownInWrittenForm_[path] = status->identity;
  } else {
    knownInWrittenForm_.erase(path);
  }
}

bool HistoryFiles::IsKnownInWrittenForm(const std::string& path, const FileIdentity& identity) const {
  const auto known = knownInWrittenForm_.find(path);
  return known != knownInWrittenForm_.end() && known->second == identity;
}

void HistoryFiles::RemoveStaleTemporaryFilesOnce(const FolderLock& lock) {
  const auto folder = lock.Identity();
  if (!folder || !cleanedFolders_.insert(*folder).second) return;
  lock.RemoveStaleTemporaryFiles(IsOurFileName);
}

void HistoryFiles::Write(const std::string& path, const std::string& newLine) {
  std::optional<FileStatus> status = StatFile(path);
  if (!status) {
    // A new file has no bytes to lose: written directly, it costs no more
    // than any file the user creates.
    if (WriteNewFile(path, newLine)) return;
    status = StatFile(path);  // a link to nowhere, or a writer that takes no lock
  }
  if (!status || !status->regular) {
    // Something that is no file (a directory of that name makes the replace
    // fail, as it should), or a link to nowhere, which gets a file in its place.
    ReplaceFileWhole(path, newLine);
  } else if (IsKnownInWrittenForm(path, status->identity)) {
    AppendToFile(path, newLine);
  } else if (CheckedInWrittenForm(path)) {
    // Appending gives the very bytes a rewrite would.
    AppendToFile(path, newLine);
  } else {
    ReplaceFileWhole(path, NormalizedHistoryText(ReadHistoryFile(path)) + newLine);
  }
}

void HistoryFiles::AppendLine(std::string_view numberText, std::string_view line) {
  const std::string path = HistoryFilePath(numberText);
  std::string newLine;
  newLine.reserve(line.size() + kLineEnd.size());
  newLine.append(line).append(kLineEnd);
  // Held from the look at the file to the end of the write, so that two
  // writers never both find a file missing or in another form and the later
  // replacement drops the other's line. What this object remembers of a
  // file is checked again under the lock, since others may have written it.
  const FolderLock lock(".");
  RemoveStaleTemporaryFilesOnce(lock);
  try {
    Write(path, newLine);
  } catch (const FileError& e) {
    knownInWrittenForm_.erase(path);
    ThrowCannot("create", path, e.Errno());
  }
  Remember(path);
}

}  // namespace umbra
