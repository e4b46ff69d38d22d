#pragma once
// The request target goes out in the request line, so bytes that could end
// the line, split it or change its meaning are escaped.

#include <string>
#include <string_view>

namespace umbra::net {

// True for the bytes sent as they are: printable ASCII except blank and
// " # % < > \ ^ ` { | }.
bool StandsInRequestTarget(unsigned char byte);

// Percent-encodes (uppercase hex) every byte that cannot stand in a request
// target; every other byte is kept. Linear in the length of `target`.
std::string EncodeRequestTarget(std::string_view target);
// The same into `out`, replacing what it held: a caller that keeps `out`
// encodes a long target without allocating again.
void EncodeRequestTarget(std::string_view target, std::string& out);

}  // namespace umbra::net
