#include "bench/bare_fetch.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace umbra::bench {

BareFetch::BareFetch(std::uint16_t port) : reply_(1 << 20) {
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd_ < 0 || connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error(std::string("bare fetch cannot connect: ") + std::strerror(errno));
  }
}

BareFetch::~BareFetch() {
  if (fd_ >= 0) close(fd_);
}

std::size_t BareFetch::Fetch(std::string_view request) {
  for (std::size_t sent = 0; sent < request.size();) {
    const ssize_t n = send(fd_, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) throw std::runtime_error("bare fetch cannot send");
    sent += static_cast<std::size_t>(n);
  }
  constexpr std::string_view kHeadEnd = "\r\n\r\n";
  constexpr std::string_view kLength = "Content-Length: ";
  std::size_t have = 0;
  std::size_t total = 0;  // head and body, once the head is in
  while (total == 0 || have < total) {
    if (have == reply_.size()) reply_.resize(reply_.size() * 2);
    const ssize_t n = recv(fd_, reply_.data() + have, reply_.size() - have, 0);
    if (n <= 0) throw std::runtime_error("bare fetch: the server closed the connection");
    have += static_cast<std::size_t>(n);
    if (total == 0) {
      const std::string_view received(reply_.data(), have);
      const std::size_t headEnd = received.find(kHeadEnd);
      if (headEnd == std::string_view::npos) continue;
      const std::size_t length = received.find(kLength);
      const std::size_t bodySize =
          length < headEnd ? std::strtoull(received.data() + length + kLength.size(), nullptr, 10) : 0;
      total = headEnd + kHeadEnd.size() + bodySize;
      if (reply_.size() < total) reply_.resize(total);
    }
  }
  return total - (std::string_view(reply_.data(), have).find(kHeadEnd) + kHeadEnd.size());
}

}  // namespace umbra::bench
