#pragma once
// Running a piece of a test in a forked child, for what must not touch the
// test process: dropped privileges, resource limits.

#include <functional>
#include <string>

namespace umbra::test {

// Runs `body` in a forked child and returns the text it returned. An
// exception escaping `body`, or a child that dies, gives a text starting
// with "child: ", which no test expects.
std::string RunInChild(const std::function<std::string()>& body);

// Makes the calling process an ordinary user (nobody, 65534) so that file
// permissions apply to it; tests run as root, which ignores them. A process
// that is not root already is left as it is. Returns false when the switch
// fails.
bool BecomeUnprivileged();

}  // namespace umbra::test
