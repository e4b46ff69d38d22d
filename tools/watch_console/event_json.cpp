#include "tools/watch_console/event_json.h"

#include <cstdio>

#include "base/gbk.h"
#include "watch/iso_date_time.h"

namespace umbra::console {

namespace {

std::string StateName(std::string_view stateCode) {
  if (stateCode == "1") return "online";
  if (stateCode == "0") return "offline";
  return "other";
}

void AddMember(std::string& object, std::string_view name, const std::string& jsonValue) {
  object += object.size() == 1 ? "\"" : ",\"";
  object += name;
  object += "\":";
  object += jsonValue;
}

std::string JsonArray(const std::vector<std::string>& gbkTexts) {
  std::string array = "[";
  for (std::size_t i = 0; i < gbkTexts.size(); ++i) {
    if (i > 0) array += ',';
    array += JsonString(GbkToUtf8(gbkTexts[i]));
  }
  return array + "]";
}

}  // namespace

std::string JsonString(std::string_view utf8) {
  std::string literal = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"': literal += "\\\""; break;
      case '\\': literal += "\\\\"; break;
      case '\n': literal += "\\n"; break;
      case '\r': literal += "\\r"; break;
      case '\t': literal += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          literal += escaped;
        } else {
          literal += c;
        }
    }
  }
  return literal + "\"";
}

std::string EventJson(const EventLine& line) {
  std::string object = "{";
  const bool change = line.kind == EventLine::Kind::Change;
  AddMember(object, "kind", change ? "\"change\"" : "\"failure\"");
  AddMember(object, "time", JsonString(IsoDateTime(line.at)));
  if (change) {
    AddMember(object, "number", JsonString(GbkToUtf8(line.number)));
    AddMember(object, "state", JsonString(StateName(line.stateCode)));
    AddMember(object, "event", JsonString(GbkToUtf8(line.eventText)));
  } else {
    AddMember(object, "error", JsonString(GbkToUtf8(line.message)));
  }
  AddMember(object, "line", JsonString(GbkToUtf8(line.text)));
  return object + "}";
}

std::string ListsJson(const std::vector<std::string>& online, const std::vector<std::string>& offline) {
  std::string object = "{";
  AddMember(object, "kind", "\"lists\"");
  AddMember(object, "online", JsonArray(online));
  AddMember(object, "offline", JsonArray(offline));
  return object + "}";
}

}  // namespace umbra::console
