#pragma once
// Running a piece of a test in a forked child, for what must not touch the
// test process: dropped privileges, resource limits, a death in mid-write.

#include <functional>
#include <optional>
#include <string>

namespace umbra::test {

// Runs `body` in a forked child and returns the text it returned. An
// exception escaping `body`, or a child that dies, gives a text starting
// with "child: ", which no test expects.
std::string RunInChild(const std::function<std::string()>& body);

// How a forked child ended.
struct ChildEnd {
  bool exited = false;  // it returned from `body` (or called _exit)
  int status = 0;       // the exit status, or the signal that ended it
};

// Runs `body` in a forked child that is allowed to die, and tells how it
// ended. `body` returns the exit status.
ChildEnd RunChildToItsEnd(const std::function<int()>& body);

// Makes the calling process an ordinary user (nobody, 65534) so that file
// permissions apply to it; tests run as root, which ignores them. A process
// that is not root already is left as it is. Returns false when the switch
// fails.
bool BecomeUnprivileged();

// Why a child of this process cannot run as an ordinary user, or nothing
// when it can: a process that is not root is one already, and real root can
// become nobody. Root of a user namespace that maps only the user who made
// it (an ordinary user's loopback namespace) can do neither.
std::optional<std::string> WhyNoOrdinaryUser();

// Why this process cannot give a file to another user (nobody), or nothing
// when it can. Only real root can.
std::optional<std::string> WhyNoOtherOwner();

}  // namespace umbra::test
