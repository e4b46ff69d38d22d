#pragma once
// A small HTTP/1.1 server on 127.0.0.1 that answers the presence query, for
// running the program on a machine with no way out to the public endpoint.

#include <chrono>
#include <cstdint>

namespace umbra::sim {

struct SimOptions {
  std::uint16_t port = 0;  // 0: the system picks one
  double flipSeconds = 10;
  std::uint64_t seed = 1;
  double answerDelaySeconds = 0;  // waited before each answer: a slow endpoint
};

class PresenceServer {
 public:
  explicit PresenceServer(const SimOptions& options);  // binds and listens
  ~PresenceServer();
  PresenceServer(const PresenceServer&) = delete;
  PresenceServer& operator=(const PresenceServer&) = delete;

  std::uint16_t Port() const { return port_; }
  // Accepts connections, each served on a thread of its own, until the
  // process ends.
  [[noreturn]] void Run();

 private:
  void Serve(int connection) const;
  std::uint64_t CurrentEpoch() const;

  SimOptions options_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::chrono::steady_clock::time_point started_;
};

}  // namespace umbra::sim
