#include "net/request_bytes.h"

namespace umbra::net {
namespace {

constexpr std::string_view kFixedBeforeHost = "Content-Type: text/html\r\nHost: ";
constexpr std::string_view kFixedAfterHost =
    "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n";

}  // namespace

std::string BuildGetRequest(std::string_view encodedTarget, std::string_view hostHeader,
                            std::string_view cookieHeader) {
  std::string request;
  BuildGetRequest(request, encodedTarget, hostHeader, cookieHeader);
  return request;
}

void BuildGetRequest(std::string& request, std::string_view encodedTarget, std::string_view hostHeader,
                     std::string_view cookieHeader) {
  request.clear();
  request.reserve(encodedTarget.size() + hostHeader.size() + cookieHeader.size() + 160);
  request += "GET ";
  request += encodedTarget;
  request += " HTTP/1.1\r\n";
  request += kFixedBeforeHost;
  request += hostHeader;
  request += kFixedAfterHost;
  if (!cookieHeader.empty()) {
    request += "Cookie: ";
    request += cookieHeader;
    request += "\r\n";
  }
  request += "\r\n";
}

}  // namespace umbra::net
