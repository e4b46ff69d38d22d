// umbrascope-history: the watch's history files as sessions or changes, in
// text or CSV, for scripts and spreadsheets. The same reading as the
// window's history view; the files are only read.

#include <cstdio>
#include <string>
#include <vector>

#include "base/files.h"
#include "tools/history_cli/command_line.h"
#include "tools/history_cli/history_listing.h"
#include "watch/history_csv.h"
#include "watch/history_reader.h"
#include "watch/history_sessions.h"

namespace {

using umbra::history_cli::CommandLine;
using umbra::history_cli::Listing;

constexpr int kFileUnreadable = 1;
constexpr int kUsage = 2;

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void ReportSkipped(const std::string& path, const std::vector<std::size_t>& lines) {
  if (lines.empty()) return;
  std::string which;
  constexpr std::size_t kNamed = 10;
  for (std::size_t i = 0; i < lines.size() && i < kNamed; ++i) {
    which += (i > 0 ? ", " : "") + std::to_string(lines[i]);
  }
  if (lines.size() > kNamed) which += ", ...";
  std::fprintf(stderr, "umbrascope-history: %s: %zu line(s) skipped, not history lines (%s)\n", path.c_str(),
               lines.size(), which.c_str());
}

int Run(const CommandLine& line) {
  if (line.csv) Print(line.listing == Listing::Sessions ? umbra::SessionsCsvHeader() : umbra::EventsCsvHeader());
  int status = 0;
  for (const std::string& path : line.files) {
    umbra::HistoryLog log;
    try {
      log = umbra::ReadHistoryLog(path);
    } catch (const umbra::FileError& e) {
      std::fprintf(stderr, "umbrascope-history: %s: %s\n", path.c_str(), e.what());
      status = kFileUnreadable;
      continue;
    }
    const std::string number = umbra::history_cli::NumberOfPath(path);
    if (line.listing == Listing::Sessions) {
      Print(line.csv ? umbra::SessionsCsvRows(number, umbra::OnlineSessions(log.events))
                     : umbra::history_cli::SessionsText(number, log));
    } else {
      Print(line.csv ? umbra::EventsCsvRows(number, log.events) : umbra::history_cli::EventsText(number, log));
    }
    ReportSkipped(path, log.skippedLines);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const CommandLine line =
        umbra::history_cli::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help) {
      std::fputs(umbra::history_cli::kUsage, stdout);
      return 0;
    }
    return Run(line);
  } catch (const umbra::history_cli::UsageError& e) {
    std::fprintf(stderr, "umbrascope-history: %s\n%s", e.what(), umbra::history_cli::kUsage);
    return kUsage;
  }
}
