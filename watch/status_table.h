#pragma once
// StatusTable: one row per watched number, by position, holding the number
// text and the state code last seen for that position.

#include <string>
#include <vector>

namespace umbra {

struct StatusRow {
  std::string number;
  std::string stateCode;  // empty until a reply entry has answered for the row
};

using StatusTable = std::vector<StatusRow>;

}  // namespace umbra
