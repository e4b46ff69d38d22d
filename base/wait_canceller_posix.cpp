#include "base/wait_canceller.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "base/tcp_socket.h"

namespace umbra::os {

// An eventfd: its counter above zero makes it readable for every poll() that
// watches it, however many, until it is read back to zero.
WaitCanceller::WaitCanceller() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (fd_ < 0) throw SocketError(WsaCodeFromErrno(errno));
}

WaitCanceller::~WaitCanceller() { close(fd_); }

void WaitCanceller::Cancel() noexcept {
  const std::uint64_t one = 1;
  // A counter already near its maximum refuses the write; it is readable all
  // the same.
  [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
}

void WaitCanceller::Clear() noexcept {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t read = ::read(fd_, &count, sizeof count);
}

bool WaitCanceller::Cancelled() const noexcept {
  pollfd entry{fd_, POLLIN, 0};
  return poll(&entry, 1, 0) > 0;
}

}  // namespace umbra::os
