#pragma once
// The texts an exchange fails with. The event log shows them to the user
// after its own prefix, so they are kept byte for byte.

#include <string_view>

namespace umbra::net {

inline constexpr std::string_view kConnectionClosedGracefully = "Connection Closed Gracefully.";
inline constexpr std::string_view kUndefinedSituation = "Undefined situation";
inline constexpr std::string_view kMaxLineLengthExceeded = "Max line length exceeded.";
inline constexpr std::string_view kReadTimedOut = "Read timed out.";
inline constexpr std::string_view kResponseTooLarge = "Response too large.";
inline constexpr std::string_view kInvalidChunkSize = "Invalid chunk size.";
inline constexpr std::string_view kUnknownProtocol = "Unknown protocol.";
inline constexpr std::string_view kInvalidPort = "Invalid port number.";

}  // namespace umbra::net
