#pragma once
// The history files a folder holds, for the history view.

#include <cstdint>
#include <string>
#include <vector>

#include "watch/history_reader.h"

namespace umbra {

struct NumberHistory {
  std::string fileName;  // as the file system names it (UTF-8)
  std::string number;    // the file name without ".txt"
  HistoryLog log;
};

// Larger ".txt" files are no history file of ours: at some thirty bytes a
// change they would take decades of watching.
inline constexpr std::uintmax_t kLargestHistoryFile = 64u << 20;

// Every regular "*.txt" file in `folder` that holds at least one history
// line, by number: shorter numbers first, then in byte order, as QQ numbers
// compare. Files that cannot be read are left out.
std::vector<NumberHistory> ReadHistoryFolder(const std::string& folder);

}  // namespace umbra
