#pragma once
// The bytes of the presence query's GET request: the request line and the
// fixed header lines in their fixed order, and nothing else. The endpoint has
// only ever seen this exact request, so it is not for the client to add to it.

#include <string>
#include <string_view>

namespace umbra::net {

// `encodedTarget` must already be fit for the request line. `cookieHeader`
// is the Cookie header's value; the header is left out when it is empty.
std::string BuildGetRequest(std::string_view encodedTarget, std::string_view hostHeader,
                            std::string_view cookieHeader);
// The same into `request`, replacing what it held, so that a kept buffer
// serves every request.
void BuildGetRequest(std::string& request, std::string_view encodedTarget, std::string_view hostHeader,
                     std::string_view cookieHeader);

}  // namespace umbra::net
