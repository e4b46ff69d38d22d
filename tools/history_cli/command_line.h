#pragma once
// umbrascope-history's command line.

#include <stdexcept>
#include <string>
#include <vector>

namespace umbra::history_cli {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class Listing {
  Sessions,  // times online, one per line
  Events,    // the recorded changes, one per line
};

struct CommandLine {
  Listing listing = Listing::Sessions;
  bool csv = false;
  bool help = false;
  std::vector<std::string> files;
};

// Throws UsageError for an unknown option, both listings, or no file.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char kUsage[];

}  // namespace umbra::history_cli
