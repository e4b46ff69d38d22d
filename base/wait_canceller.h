#pragma once
// Ends blocking socket waits early on request from elsewhere: another thread,
// or a signal handler. Once cancelled, every wait that watches it returns at
// once, until the cancellation is cleared.

namespace umbra::os {

class WaitCanceller {
 public:
  // Throws SocketError when the system cannot provide the means to wake a wait.
  WaitCanceller();
  ~WaitCanceller();
  WaitCanceller(const WaitCanceller&) = delete;
  WaitCanceller& operator=(const WaitCanceller&) = delete;

  // Safe from any thread and from a signal handler.
  void Cancel() noexcept;
  void Clear() noexcept;
  bool Cancelled() const noexcept;

  // Readable while cancelled, for poll() beside the descriptor waited for.
  int PollFd() const { return fd_; }

 private:
  int fd_ = -1;
};

}  // namespace umbra::os
