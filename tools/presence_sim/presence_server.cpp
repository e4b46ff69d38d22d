#include "tools/presence_sim/presence_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

#include "tools/presence_sim/presence_states.h"

namespace umbra::sim {

namespace {

[[noreturn]] void Fail(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string Reply(std::string_view statusLine, std::string_view body) {
  std::string reply;
  reply.reserve(body.size() + 128);
  reply += "HTTP/1.1 ";
  reply += statusLine;
  reply += "\r\nContent-Type: text/plain; charset=GBK\r\nContent-Length: ";
  reply += std::to_string(body.size());
  reply += "\r\n\r\n";
  reply += body;
  return reply;
}

bool AsksToClose(std::string_view head) {
  for (std::size_t at = head.find("\r\n"); at != std::string_view::npos; at = head.find("\r\n", at + 2)) {
    std::string line(head.substr(at + 2, head.find("\r\n", at + 2) - (at + 2)));
    for (char& c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (line.rfind("connection:", 0) == 0 && line.find("close") != std::string::npos) return true;
  }
  return false;
}

}  // namespace

PresenceServer::PresenceServer(const SimOptions& options)
    : options_(options), started_(std::chrono::steady_clock::now()) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) Fail("socket");
  const int yes = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(options.port);
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) Fail("bind");
  if (::listen(listener_, 64) != 0) Fail("listen");
  socklen_t length = sizeof address;
  if (::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) Fail("getsockname");
  port_ = ntohs(address.sin_port);
}

PresenceServer::~PresenceServer() { ::close(listener_); }

std::uint64_t PresenceServer::CurrentEpoch() const {
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started_;
  if (options_.flipSeconds <= 0) return 0;
  return static_cast<std::uint64_t>(elapsed.count() / options_.flipSeconds);
}

void PresenceServer::Run() {
  for (;;) {
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      Fail("accept");
    }
    std::thread([this, connection] { Serve(connection); }).detach();
  }
}

void PresenceServer::Serve(int connection) const {
  std::string pending;
  char buffer[65536];
  for (;;) {
    const std::size_t headEnd = pending.find("\r\n\r\n");
    if (headEnd == std::string::npos) {
      const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      pending.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    const std::string_view head(pending.data(), headEnd);
    const std::string_view requestLine = head.substr(0, head.find("\r\n"));
    std::string reply;
    std::string body;
    const std::size_t firstBlank = requestLine.find(' ');
    const std::size_t lastBlank = requestLine.rfind(' ');
    const bool isGet = requestLine.substr(0, firstBlank) == "GET" && lastBlank > firstBlank;
    if (isGet && ReplyBody(requestLine.substr(firstBlank + 1, lastBlank - firstBlank - 1), options_.seed,
                           CurrentEpoch(), body)) {
      reply = Reply("200 OK", body);
    } else {
      reply = Reply("404 Not Found", "");
    }
    const bool close = AsksToClose(head);
    pending.erase(0, headEnd + 4);
    if (options_.answerDelaySeconds > 0) {
      std::this_thread::sleep_for(std::chrono::duration<double>(options_.answerDelaySeconds));
    }
    if (!SendAll(connection, reply) || close) break;
  }
  ::close(connection);
}

}  // namespace umbra::sim
