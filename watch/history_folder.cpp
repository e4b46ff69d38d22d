#include "watch/history_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/files.h"

namespace umbra {

std::vector<NumberHistory> ReadHistoryFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<NumberHistory> histories;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!name.ends_with(".txt")) continue;
    std::error_code statError;
    if (!it->is_regular_file(statError) || it->file_size(statError) > kLargestHistoryFile || statError) continue;
    NumberHistory history;
    try {
      history.log = ReadHistoryLog(it->path().string());
    } catch (const FileError&) {
      continue;
    }
    if (history.log.events.empty()) continue;
    history.fileName = name;
    history.number = name.substr(0, name.size() - 4);
    histories.push_back(std::move(history));
  }
  std::sort(histories.begin(), histories.end(), [](const NumberHistory& a, const NumberHistory& b) {
    if (a.number.size() != b.number.size()) return a.number.size() < b.number.size();
    return a.number < b.number;
  });
  return histories;
}

}  // namespace umbra
