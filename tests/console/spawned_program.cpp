#include "tests/console/spawned_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

namespace umbra::test {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

bool Drain(int& fd, std::string& into) {
  char buffer[4096];
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  if (n > 0) {
    into.append(buffer, static_cast<std::size_t>(n));
    return true;
  }
  ::close(fd);
  fd = -1;
  return false;
}

}  // namespace

SpawnedProgram::SpawnedProgram(const std::vector<std::string>& argv) {
  int out[2];
  int err[2];
  if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const int rc = posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  outFd_ = out[0];
  errFd_ = err[0];
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
}

SpawnedProgram::~SpawnedProgram() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (outFd_ >= 0) ::close(outFd_);
  if (errFd_ >= 0) ::close(errFd_);
}

bool SpawnedProgram::ReadSome(std::chrono::milliseconds limit) {
  pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
  if (outFd_ < 0 && errFd_ < 0) return false;
  if (::poll(fds, 2, static_cast<int>(limit.count())) <= 0) return false;
  bool got = false;
  if (fds[0].revents) got |= Drain(outFd_, out_);
  if (fds[1].revents) got |= Drain(errFd_, err_);
  return got || outFd_ >= 0 || errFd_ >= 0;
}

bool SpawnedProgram::WaitForOutput(const std::string& text, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (out_.find(text) == std::string::npos) {
    if (outFd_ < 0 || MillisecondsLeft(deadline) == 0) return false;
    ReadSome(std::chrono::milliseconds(MillisecondsLeft(deadline)));
  }
  return true;
}

std::string SpawnedProgram::FirstLine(std::chrono::milliseconds limit) {
  if (!WaitForOutput("\n", limit)) return std::string();
  return out_.substr(0, out_.find('\n'));
}

void SpawnedProgram::Signal(int signal) { ::kill(pid_, signal); }

Finished SpawnedProgram::Wait(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while ((outFd_ >= 0 || errFd_ >= 0) && MillisecondsLeft(deadline) > 0) {
    ReadSome(std::chrono::milliseconds(MillisecondsLeft(deadline)));
  }
  if (outFd_ >= 0 || errFd_ >= 0) ::kill(pid_, SIGKILL);
  int raw = 0;
  ::waitpid(pid_, &raw, 0);
  pid_ = -1;
  return Finished{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out_, err_};
}

Finished RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds limit) {
  SpawnedProgram program(argv);
  return program.Wait(limit);
}

}  // namespace umbra::test
