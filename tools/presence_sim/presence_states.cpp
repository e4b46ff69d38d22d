#include "tools/presence_sim/presence_states.h"

namespace umbra::sim {

namespace {

// FNV-1a with a final mix: cheap, and stable across platforms and runs.
std::uint64_t Hash(std::uint64_t seed, std::string_view number, std::uint64_t epoch) {
  std::uint64_t h = 1469598103934665603ull ^ seed;
  for (unsigned char c : number) h = (h ^ c) * 1099511628211ull;
  h ^= epoch + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return h;
}

}  // namespace

char StateCode(std::uint64_t seed, std::string_view number, std::uint64_t epoch) {
  return (Hash(seed, number, epoch) & 1) ? '1' : '0';
}

bool ReplyBody(std::string_view target, std::uint64_t seed, std::uint64_t epoch, std::string& body) {
  static constexpr std::string_view kHead = "/getonline?Type=1&";
  if (target.substr(0, kHead.size()) != kHead) return false;
  std::string_view numbers = target.substr(kHead.size());
  body.clear();
  std::size_t index = 0;
  while (!numbers.empty()) {
    const std::size_t colon = numbers.find(':');
    if (colon == std::string_view::npos) break;  // text after the last ":" names no number
    body += "online[";
    body += std::to_string(index++);
    body += "]=";
    body += StateCode(seed, numbers.substr(0, colon), epoch);
    body += ';';
    numbers.remove_prefix(colon + 1);
  }
  return true;
}

}  // namespace umbra::sim
