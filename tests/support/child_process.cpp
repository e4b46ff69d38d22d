#include "tests/support/child_process.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace umbra::test {

namespace {

constexpr uid_t kNobody = 65534;

void WriteAllToPipe(int fd, const std::string& text) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n <= 0) return;
    data += n;
    left -= static_cast<std::size_t>(n);
  }
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace

std::string RunInChild(const std::function<std::string()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return std::string("child: pipe failed: ") + std::strerror(errno);
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(fds[0]);
    ::close(fds[1]);
    return std::string("child: fork failed: ") + std::strerror(errno);
  }
  if (pid == 0) {
    ::close(fds[0]);
    std::string result;
    try {
      result = body();
    } catch (const std::exception& e) {
      result = std::string("child: unexpected exception: ") + e.what();
    } catch (...) {
      result = "child: unexpected exception";
    }
    WriteAllToPipe(fds[1], result);
    // No exit handlers: they belong to the test process.
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string output;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n > 0) {
      output.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(fds[0]);
  const int status = WaitFor(pid);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child: died, status " + std::to_string(status);
  return output;
}

ChildEnd RunChildToItsEnd(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid < 0) return ChildEnd{true, 127};
  if (pid == 0) {
    int status = 126;
    try {
      status = body();
    } catch (...) {
    }
    ::_exit(status);
  }
  const int status = WaitFor(pid);
  if (WIFSIGNALED(status)) return ChildEnd{false, WTERMSIG(status)};
  return ChildEnd{true, WEXITSTATUS(status)};
}

bool BecomeUnprivileged() {
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 &&
         ::geteuid() == kNobody;
}

std::optional<std::string> WhyNoOrdinaryUser() {
  if (::geteuid() != 0) return std::nullopt;
  const std::string outcome = RunInChild([]() -> std::string {
    if (::setgroups(0, nullptr) != 0) return std::string("setgroups: ") + std::strerror(errno);
    if (::setgid(kNobody) != 0) return std::string("setgid(65534): ") + std::strerror(errno);
    if (::setuid(kNobody) != 0) return std::string("setuid(65534): ") + std::strerror(errno);
    return "";
  });
  if (outcome.empty()) return std::nullopt;
  return "needs real root to run part of the test as the ordinary user nobody, and this process "
         "is root only inside a user namespace of its own (" + outcome + ")";
}

std::optional<std::string> WhyNoOtherOwner() {
  if (::geteuid() != 0) return std::string("needs root to give a file to another user");
  char pattern[] = "/tmp/umbrascope-owner-probe-XXXXXX";
  const int fd = ::mkstemp(pattern);
  if (fd < 0) return std::string("cannot make a probe file: ") + std::strerror(errno);
  const bool given = ::fchown(fd, kNobody, kNobody) == 0;
  const int error = errno;
  ::close(fd);
  ::unlink(pattern);
  if (given) return std::nullopt;
  return "needs real root to give a file to another user, and this process is root only inside a "
         "user namespace of its own (chown: " + std::string(std::strerror(error)) + ")";
}

}  // namespace umbra::test
