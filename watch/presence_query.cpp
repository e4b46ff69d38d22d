#include "watch/presence_query.h"

namespace umbra {

namespace {

constexpr std::string_view kTargetHead = "/getonline?Type=1&";

void AppendTarget(std::string& out, const StatusTable& table) {
  std::size_t length = out.size() + kTargetHead.size();
  for (const StatusRow& row : table) length += row.number.size() + 1;
  out.reserve(length);
  out += kTargetHead;
  for (const StatusRow& row : table) {
    out += row.number;
    out += ':';
  }
}

}  // namespace

std::string PresenceQueryTarget(const StatusTable& table) {
  std::string target;
  AppendTarget(target, table);
  return target;
}

void WritePresenceQueryUrl(std::string& url, std::string_view endpointBase, const StatusTable& table) {
  if (!endpointBase.empty() && endpointBase.back() == '/') endpointBase.remove_suffix(1);
  url.assign(endpointBase);
  AppendTarget(url, table);
}

std::string PresenceQueryUrl(std::string_view endpointBase, const StatusTable& table) {
  std::string url;
  WritePresenceQueryUrl(url, endpointBase, table);
  return url;
}

PieceList ReplyEntries(std::string_view body) {
  PieceList entries;
  PieceCursor pieces(body, ";");
  while (const std::optional<std::string_view> entry = pieces.NextBeforeDelimiter()) entries.emplace_back(*entry);
  return entries;
}

std::string_view EntryStateCode(std::string_view entry) {
  PieceCursor parts(entry, "=");
  if (!parts.NextBeforeDelimiter()) throw ListIndexError("List index out of bounds (1)");
  // The second piece: up to the next "=", or the rest when there is none.
  if (const std::optional<std::string_view> code = parts.NextBeforeDelimiter()) return *code;
  return parts.Rest();
}

namespace reply_detail {

void ThrowEntryWithoutStateCode() { throw ListIndexError("List index out of bounds (1)"); }

// Runs before different hits never overlap, so the counting stays linear.
bool EndsAnOddLeadRun(const char* begin, const char* hit) {
  const char* run = hit;
  while (run != begin && IsLeadByte(static_cast<unsigned char>(run[-1]))) --run;
  return (hit - run) % 2 != 0;
}

}  // namespace reply_detail

}  // namespace umbra
