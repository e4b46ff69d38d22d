#pragma once
// Reads the flat JSON objects the console watcher prints, strictly enough
// that a malformed line fails the test: members whose values are strings or
// arrays of strings, nothing else.

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace umbra::test {

using FlatJsonValue = std::variant<std::string, std::vector<std::string>>;
using FlatJsonObject = std::map<std::string, FlatJsonValue>;

// Throws std::runtime_error for anything that is not one such object.
FlatJsonObject ParseFlatJsonObject(std::string_view text);

// The member's string value; throws when missing or not a string.
const std::string& StringMember(const FlatJsonObject& object, const std::string& name);

}  // namespace umbra::test
