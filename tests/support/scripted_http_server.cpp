#include "tests/support/scripted_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <utility>

namespace umbra::test {

ScriptedReply ScriptedReply::Ok(std::string_view body) {
  std::string bytes = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  bytes += body;
  return Raw(std::move(bytes));
}

ScriptedReply ScriptedReply::Raw(std::string bytes) {
  ScriptedReply reply;
  reply.bytes = std::move(bytes);
  return reply;
}

ScriptedReply ScriptedReply::CloseWithoutReply() { return Raw("").ThenClose(); }
ScriptedReply ScriptedReply::ResetWithoutReply() { return Raw("").ThenReset(); }
ScriptedReply ScriptedReply::NeverReply() { return Raw("").ThenHold(); }

ScriptedReply ScriptedReply::ThenClose() && {
  then = Then::Close;
  return std::move(*this);
}

ScriptedReply ScriptedReply::ThenReset() && {
  then = Then::Reset;
  return std::move(*this);
}

ScriptedReply ScriptedReply::ThenHold() && {
  then = Then::Hold;
  return std::move(*this);
}

ScriptedReply ScriptedReply::InPieces(std::size_t size, std::chrono::milliseconds pauseBeforeEach) && {
  pieceSize = size;
  pause = pauseBeforeEach;
  return std::move(*this);
}

void PrintTo(const ScriptedReply& reply, std::ostream* os) {
  *os << "scripted reply of " << reply.bytes.size() << " bytes";
}

struct ScriptedHttpServer::Connection {
  int fd;
  int number;
};

namespace {

[[noreturn]] void FailSetup(const char* what) {
  throw std::runtime_error(std::string("scripted server: ") + what + " failed, errno " + std::to_string(errno));
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

}  // namespace

ScriptedHttpServer::ScriptedHttpServer(std::vector<ScriptedReply> script)
    : fallback_(std::make_shared<const ScriptedReply>(
          ScriptedReply::Raw("HTTP/1.1 500 No scripted reply\r\nContent-Length: 0\r\n\r\n"))) {
  SetScript(std::move(script));
  listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) FailSetup("socket");
  const int on = 1;
  setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) FailSetup("bind");
  // Once listening, connects succeed even before the first accept, so the
  // server is ready when the constructor returns.
  if (listen(listenFd_, 64) != 0) FailSetup("listen");
  socklen_t length = sizeof address;
  if (getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) FailSetup("getsockname");
  port_ = ntohs(address.sin_port);
  if (pipe2(wakePipe_, O_CLOEXEC) != 0) FailSetup("pipe2");
  acceptThread_ = std::thread(&ScriptedHttpServer::AcceptLoop, this);
}

ScriptedHttpServer::~ScriptedHttpServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    // Shut down rather than close: the serving threads still own their
    // descriptors, and their blocked calls return at once.
    for (const auto& connection : connections_) {
      if (connection->fd >= 0) shutdown(connection->fd, SHUT_RDWR);
    }
  }
  stopped_.notify_all();
  const char wake = 'x';
  [[maybe_unused]] const ssize_t written = write(wakePipe_[1], &wake, 1);
  acceptThread_.join();
  for (std::thread& thread : connectionThreads_) thread.join();
  close(listenFd_);
  close(wakePipe_[0]);
  close(wakePipe_[1]);
}

std::string ScriptedHttpServer::BaseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::string ScriptedHttpServer::Url(std::string_view target) const {
  std::string url = BaseUrl();
  url += target;
  return url;
}

void ScriptedHttpServer::SetScript(std::vector<ScriptedReply> script) {
  std::lock_guard<std::mutex> lock(mutex_);
  script_.clear();
  for (ScriptedReply& reply : script) script_.push_back(std::make_shared<const ScriptedReply>(std::move(reply)));
}

void ScriptedHttpServer::Enqueue(ScriptedReply reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  script_.push_back(std::make_shared<const ScriptedReply>(std::move(reply)));
}

void ScriptedHttpServer::SetFallback(ScriptedReply reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  fallback_ = std::make_shared<const ScriptedReply>(std::move(reply));
}

void ScriptedHttpServer::ReplyOkToEveryRequest(std::string_view body) {
  std::lock_guard<std::mutex> lock(mutex_);
  script_.clear();
  fallback_ = std::make_shared<const ScriptedReply>(ScriptedReply::Ok(body));
}

std::vector<RecordedRequest> ScriptedHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::size_t ScriptedHttpServer::RequestCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requestCount_;
}

int ScriptedHttpServer::ConnectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connectionCount_;
}

void ScriptedHttpServer::SetRecording(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  recording_ = on;
}

void ScriptedHttpServer::AcceptLoop() {
  for (;;) {
    pollfd waits[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
    if (poll(waits, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (waits[1].revents != 0) return;
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopping_) {
      close(fd);
      return;
    }
    auto connection = std::make_shared<Connection>(Connection{fd, ++connectionCount_});
    connections_.push_back(connection);
    connectionThreads_.emplace_back(&ScriptedHttpServer::Serve, this, connection);
  }
}

void ScriptedHttpServer::Serve(std::shared_ptr<Connection> connection) {
  std::string received;
  std::size_t searchFrom = 0;
  std::vector<char> chunk(64 * 1024);
  for (;;) {
    std::size_t end = received.find("\r\n\r\n", searchFrom);
    while (end == std::string::npos) {
      const ssize_t n = recv(connection->fd, chunk.data(), chunk.size(), 0);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        CloseConnection(*connection, false);
        return;
      }
      // The end marker may straddle two reads; look back three bytes only,
      // so a request of megabytes is searched once.
      searchFrom = received.size() >= 3 ? received.size() - 3 : 0;
      received.append(chunk.data(), static_cast<std::size_t>(n));
      end = received.find("\r\n\r\n", searchFrom);
    }
    const std::size_t requestLength = end + 4;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++requestCount_;
      if (recording_) requests_.push_back(RecordedRequest{received.substr(0, requestLength), connection->number});
    }
    received.erase(0, requestLength);
    searchFrom = 0;
    if (!Play(*connection, *NextReply())) return;
  }
}

std::shared_ptr<const ScriptedReply> ScriptedHttpServer::NextReply() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (script_.empty()) return fallback_;
  auto reply = script_.front();
  script_.pop_front();
  return reply;
}

bool ScriptedHttpServer::Play(Connection& connection, const ScriptedReply& reply) {
  const std::string_view bytes = reply.bytes;
  const std::size_t pieceSize = reply.pieceSize == 0 ? std::max<std::size_t>(bytes.size(), 1) : reply.pieceSize;
  std::size_t sent = 0;
  do {
    if (reply.pause.count() > 0 && !SleepUnlessStopping(reply.pause)) {
      CloseConnection(connection, false);
      return false;
    }
    const std::size_t n = std::min(pieceSize, bytes.size() - sent);
    if (!SendAll(connection.fd, bytes.substr(sent, n))) {
      CloseConnection(connection, false);
      return false;
    }
    sent += n;
  } while (sent < bytes.size());

  switch (reply.then) {
    case ScriptedReply::Then::KeepOpen:
      return true;
    case ScriptedReply::Then::Close:
      CloseConnection(connection, false);
      return false;
    case ScriptedReply::Then::Reset:
      CloseConnection(connection, true);
      return false;
    case ScriptedReply::Then::Hold: {
      char discard[4096];
      for (;;) {
        const ssize_t n = recv(connection.fd, discard, sizeof discard, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
      }
      CloseConnection(connection, false);
      return false;
    }
  }
  return false;
}

bool ScriptedHttpServer::SleepUnlessStopping(std::chrono::milliseconds duration) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !stopped_.wait_for(lock, duration, [this] { return stopping_; });
}

void ScriptedHttpServer::CloseConnection(Connection& connection, bool reset) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (connection.fd < 0) return;
  if (reset) {
    const linger abort{1, 0};
    setsockopt(connection.fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
  }
  close(connection.fd);
  connection.fd = -1;
}

}  // namespace umbra::test
