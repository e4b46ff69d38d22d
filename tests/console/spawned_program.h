#pragma once
// Runs one of the project's programs as a child process with its standard
// output and error captured, for end-to-end tests.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace umbra::test {

struct Finished {
  int status = -1;  // exit status, or -1 when killed by a signal
  std::string out;
  std::string err;
};

class SpawnedProgram {
 public:
  // Starts `argv[0]` with the arguments, in the current working directory.
  explicit SpawnedProgram(const std::vector<std::string>& argv);
  ~SpawnedProgram();  // kills the child if it still runs
  SpawnedProgram(const SpawnedProgram&) = delete;
  SpawnedProgram& operator=(const SpawnedProgram&) = delete;

  // Reads standard output until it holds a line containing `text` (or the
  // time runs out or output ends). Returns whether it was seen.
  bool WaitForOutput(const std::string& text, std::chrono::milliseconds limit);
  // The first line of standard output, waiting for it.
  std::string FirstLine(std::chrono::milliseconds limit);
  void Signal(int signal);
  // Waits for the child to end (killing it after `limit`) and collects the rest.
  Finished Wait(std::chrono::milliseconds limit);

  const std::string& Out() const { return out_; }

 private:
  bool ReadSome(std::chrono::milliseconds limit);

  pid_t pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  std::string out_;
  std::string err_;
};

// Runs a program to its end.
Finished RunProgram(const std::vector<std::string>& argv,
                    std::chrono::milliseconds limit = std::chrono::seconds(60));

}  // namespace umbra::test
