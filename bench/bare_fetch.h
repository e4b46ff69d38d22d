#pragma once
// The floor a presence exchange is measured against: the simplest client
// that moves the same bytes. It keeps one connection, writes prepared request
// bytes and reads a reply framed by Content-Length into a buffer it keeps,
// with none of the client's parsing, cookies or time limits.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace umbra::bench {

class BareFetch {
 public:
  // Connects to 127.0.0.1:port. Throws std::runtime_error on failure.
  explicit BareFetch(std::uint16_t port);
  ~BareFetch();
  BareFetch(const BareFetch&) = delete;
  BareFetch& operator=(const BareFetch&) = delete;

  // Sends `request` and reads the whole reply; returns its body's size.
  // Throws std::runtime_error when the server closes first.
  std::size_t Fetch(std::string_view request);

 private:
  int fd_ = -1;
  std::vector<char> reply_;
};

}  // namespace umbra::bench
