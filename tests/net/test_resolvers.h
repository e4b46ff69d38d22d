#pragma once
// Resolvers the tests control, so that no test asks the machine's name
// service, whether ctest runs inside the loopback namespace or not.

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/tcp_socket.h"

namespace umbra::net {

// Host names for the tests' own resolvers. Names under .invalid never resolve
// anywhere, should a test reach the machine's resolver by mistake.
inline const std::string kTestHost = "presence.invalid";

class TestResolvers {
 public:
  ~TestResolvers() { gate_->Open(); }

  // Answers every lookup with `addresses`; none: the name is unknown.
  static os::HostResolver Answering(std::vector<std::string> addresses) {
    return [addresses](const std::string&) { return addresses; };
  }

  // Never answers for as long as this object lives, like a name server that
  // swallows the question.
  os::HostResolver Silent() const {
    return [gate = gate_](const std::string&) {
      gate->WaitUntilOpen();
      return std::vector<std::string>{};
    };
  }

 private:
  struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    void WaitUntilOpen() {
      std::unique_lock<std::mutex> lock(mutex);
      opened.wait(lock, [this] { return open; });
    }
    void Open() {
      const std::lock_guard<std::mutex> lock(mutex);
      open = true;
      opened.notify_all();
    }
  };
  // Shared with lookups that outlive the test on threads of their own.
  std::shared_ptr<Gate> gate_ = std::make_shared<Gate>();
};

}  // namespace umbra::net
