#include "tools/history_cli/command_line.h"

namespace umbra::history_cli {

const char kUsage[] =
    "usage: umbrascope-history [--sessions|--events] [--csv] FILE...\n"
    "Reads the watch's history files (<number>.txt) and lists what they record.\n"
    "  --sessions   times online: number, start, end, length (the default)\n"
    "  --events     the changes: number, time, event text\n"
    "  --csv        CSV with a header row (times in ISO 8601) instead of\n"
    "               tab-separated text\n"
    "Lines that are no history line are skipped and counted on standard error.\n";

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool listingGiven = false;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      line.files.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--sessions" || arg == "--events") {
      const Listing listing = arg == "--events" ? Listing::Events : Listing::Sessions;
      if (listingGiven && listing != line.listing) throw UsageError("--sessions and --events exclude each other");
      line.listing = listing;
      listingGiven = true;
    } else if (arg == "--csv") {
      line.csv = true;
    } else if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else {
      throw UsageError("unknown option: " + arg);
    }
  }
  if (!line.help && line.files.empty()) throw UsageError("no history file given");
  return line;
}

}  // namespace umbra::history_cli
