#include "watch/history_file.h"

#include <filesystem>

#include "base/files.h"
#include "base/gbk.h"
#include "base/regional_format.h"
#include "base/text.h"

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

// Whether the bytes are exactly what writing their lines would give: every
// line ended by CR LF, no lone CR or LF.
bool IsInWrittenForm(std::string_view bytes) {
  if (bytes.empty()) return true;
  if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != kLineEnd) return false;
  for (std::size_t i = bytes.find_first_of("\r\n"); i != std::string_view::npos;
       i = bytes.find_first_of("\r\n", i + 2)) {
    if (bytes[i] != '\r' || i + 1 >= bytes.size() || bytes[i + 1] != '\n') return false;
  }
  return true;
}

std::string ReadHistoryFile(const std::string& path) {
  try {
    return ReadWholeFile(path);
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
  if (name.find_first_of("/\\") != std::string::npos || name == "." || name == "..") {
    throw HistoryFileError("Cannot create file \"" + std::string(number) +
                           ".txt\". A number must not name a place outside the working directory");
  }
  return name + ".txt";
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

void HistoryFiles::AppendLine(std::string_view numberText, std::string_view line) {
  const std::string path = HistoryFilePath(numberText);
  std::string newLine(line);
  newLine += kLineEnd;
  try {
    const auto status = StatFile(path);
    if (!status || !status->regular) {
      // Missing, or something that is no file (a directory of that name
      // makes the replace fail, as it should).
      ReplaceFileWhole(path, newLine);
    } else if (IsKnownInWrittenForm(path, status->identity)) {
      AppendToFile(path, newLine);
    } else {
      const std::string existing = ReadHistoryFile(path);
      if (IsInWrittenForm(existing)) {
        // Appending gives the very bytes a rewrite would.
        AppendToFile(path, newLine);
      } else {
        ReplaceFileWhole(path, NormalizedHistoryText(existing) + newLine);
      }
    }
  } catch (const FileError& e) {
    knownInWrittenForm_.erase(path);
    ThrowCannot("create", path, e.Errno());
  }
  Remember(path);
}

}  // namespace umbra
