#pragma once
// The message a call fails with, so tests compare failure texts byte for byte
// in one EXPECT_EQ.

#include <string>
#include <utility>

#include "net/http_client.h"

namespace umbra::net {

inline constexpr const char* kNoError = "<no error>";

template <typename Call>
std::string HttpErrorOf(Call&& call) {
  try {
    std::forward<Call>(call)();
  } catch (const HttpError& e) {
    return e.what();
  }
  return kNoError;
}

}  // namespace umbra::net
