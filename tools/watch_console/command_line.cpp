#include "tools/watch_console/command_line.h"

namespace umbra::console {

const char kUsage[] =
    "usage: umbrascope-watch [--once] [--json] [--endpoint URL] [--numbers LIST] [--refresh SECONDS]\n"
    "Watches the numbers and prints every change as it is seen, until Ctrl-C.\n"
    "  --once              one scan, then the online and offline lists\n"
    "  --json              every line as a JSON object, for scripts\n"
    "  --endpoint URL      presence endpoint, http://host[:port]\n"
    "  --numbers LIST      numbers separated by commas\n"
    "  --refresh SECONDS   time between scans\n"
    "Values not given come from Config.ini in the working directory.\n";

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--once") {
      line.once = true;
      continue;
    }
    if (arg == "--json") {
      line.json = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      line.help = true;
      continue;
    }
    std::optional<std::string>* target = arg == "--endpoint" ? &line.endpoint
                                         : arg == "--numbers" ? &line.numbers
                                         : arg == "--refresh" ? &line.refresh
                                                              : nullptr;
    if (target == nullptr) throw UsageError("unknown option: " + arg);
    if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
    *target = args[++i];
  }
  return line;
}

}  // namespace umbra::console
