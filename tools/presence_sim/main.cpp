// presence-sim: answers the presence query on 127.0.0.1 with states that
// change over time, reproducibly from a seed.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "tools/presence_sim/presence_server.h"

namespace {

constexpr char kUsage[] =
    "usage: presence-sim [--port N] [--flip-seconds S] [--seed X] [--answer-delay S]\n"
    "Answers GET /getonline?Type=1&n1:n2:...: on 127.0.0.1 with\n"
    "online[i]=0 or online[i]=1 per number. Each number's state may change\n"
    "every S seconds (default 10), the same way for the same seed (default 1).\n"
    "--answer-delay waits S seconds before each answer (default 0), like a\n"
    "slow endpoint. Prints the address it listens on as its first line.\n";

[[noreturn]] void Usage(int status) {
  std::fputs(kUsage, status == 0 ? stdout : stderr);
  std::exit(status);
}

bool ParseUnsigned(const char* text, unsigned long long max, unsigned long long& out) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtoull(text, &end, 10);
  return errno == 0 && *end == '\0' && out <= max;
}

}  // namespace

int main(int argc, char** argv) {
  umbra::sim::SimOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    unsigned long long number = 0;
    if (arg == "--help" || arg == "-h") Usage(0);
    if (arg == "--port" && ParseUnsigned(value, 65535, number)) {
      options.port = static_cast<std::uint16_t>(number);
    } else if (arg == "--seed" && ParseUnsigned(value, ~0ull, number)) {
      options.seed = number;
    } else if (arg == "--flip-seconds" && value != nullptr) {
      char* end = nullptr;
      options.flipSeconds = std::strtod(value, &end);
      if (*end != '\0' || !(options.flipSeconds > 0)) Usage(2);
    } else if (arg == "--answer-delay" && value != nullptr) {
      char* end = nullptr;
      options.answerDelaySeconds = std::strtod(value, &end);
      if (*end != '\0' || !(options.answerDelaySeconds >= 0)) Usage(2);
    } else {
      Usage(2);
    }
    ++i;
  }
  try {
    umbra::sim::PresenceServer server(options);
    std::printf("http://127.0.0.1:%u\n", static_cast<unsigned>(server.Port()));
    std::fflush(stdout);
    server.Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "presence-sim: %s\n", e.what());
    return 1;
  }
}
