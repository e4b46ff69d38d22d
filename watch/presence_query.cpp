#include "watch/presence_query.h"

namespace umbra {

std::string PresenceQueryTarget(const StatusTable& table) {
  static constexpr std::string_view kHead = "/getonline?Type=1&";
  std::size_t length = kHead.size();
  for (const StatusRow& row : table) length += row.number.size() + 1;
  std::string target;
  target.reserve(length);
  target += kHead;
  for (const StatusRow& row : table) {
    target += row.number;
    target += ':';
  }
  return target;
}

std::string PresenceQueryUrl(std::string_view endpointBase, const StatusTable& table) {
  if (!endpointBase.empty() && endpointBase.back() == '/') endpointBase.remove_suffix(1);
  return std::string(endpointBase) + PresenceQueryTarget(table);
}

PieceList ReplyEntries(std::string_view body) {
  PieceList pieces = AnalyzeStr(body, ";");
  pieces.pop_back();  // whatever follows the last ";" is not an entry
  return pieces;
}

std::string EntryStateCode(std::string_view entry) {
  PieceList parts = AnalyzeStr(entry, "=");
  if (parts.size() < 2) throw ListIndexError("List index out of bounds (1)");
  return std::move(parts[1]);
}

}  // namespace umbra
