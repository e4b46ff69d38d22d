#pragma once
// The console watcher's command line.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace umbra::console {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CommandLine {
  bool once = false;
  bool json = false;
  bool help = false;
  // Given on the command line, as UTF-8; each overrides Config.ini for the run.
  std::optional<std::string> endpoint;
  std::optional<std::string> numbers;
  std::optional<std::string> refresh;
};

// Throws UsageError for an unknown option or a missing value.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char kUsage[];

}  // namespace umbra::console
