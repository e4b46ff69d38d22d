#include "tests/settings/child_process.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <stdexcept>

namespace umbra::test {

namespace {

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

}  // namespace

std::string RunInChild(const std::function<std::string()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
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
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child: died, status " + std::to_string(status);
  return output;
}

bool BecomeUnprivileged() {
  if (::geteuid() != 0) return true;
  constexpr uid_t kNobody = 65534;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 &&
         ::geteuid() == kNobody;
}

}  // namespace umbra::test
