#include "net/reply_parser.h"

#include <algorithm>
#include <cstring>

#include "base/text.h"
#include "net/failure_messages.h"
#include "net/http_client.h"

namespace umbra::net {
namespace {

int ParseStatusCode(std::string_view statusLine) {
  const std::size_t blank = statusLine.find(' ');
  if (blank == std::string_view::npos) return -1;
  std::string_view rest = TrimBlanks(statusLine.substr(blank + 1));
  int code = 0;
  std::size_t digits = 0;
  while (digits < rest.size() && digits < 4 && rest[digits] >= '0' && rest[digits] <= '9') {
    code = code * 10 + (rest[digits] - '0');
    ++digits;
  }
  return digits == 0 ? -1 : code;
}

// Content-Length as a count, or -1 when the header is not a plain number.
// The count saturates past the body limit, which fails all the same.
long long ParseContentLength(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return -1;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    if (value <= static_cast<long long>(kMaxBodyBytes)) value = value * 10 + (c - '0');
  }
  return value;
}

[[noreturn]] void Fail(std::string_view message) { throw HttpError(std::string(message)); }

// What a Content-Length body reserves before its bytes come: a server that
// announces 64 MiB and sends ten bytes must not cost 64 MiB.
constexpr std::size_t kFirstBodyReserve = 256u * 1024u;

}  // namespace

const std::string* ReplyHead::Find(std::string_view name) const {
  for (const HeaderField& field : headers) {
    if (EqualsIgnoringCase(field.name, name)) return &field.value;
  }
  return nullptr;
}

bool ReplyParser::InLineState() const {
  return state_ == State::StatusLine || state_ == State::Headers || state_ == State::ChunkSize ||
         state_ == State::ChunkDataEnd || state_ == State::Trailers;
}

std::size_t ReplyParser::Feed(std::string_view bytes) {
  if (!bytes.empty() && state_ != State::Done) receivedAnything_ = true;
  std::size_t pos = 0;
  while (pos < bytes.size() && state_ != State::Done) {
    if (InLineState()) {
      std::string_view line;
      std::size_t lineBytes = 0;
      if (!TakeLine(bytes, pos, line, lineBytes)) break;
      if (state_ == State::StatusLine || state_ == State::Headers || state_ == State::Trailers) {
        CountHeadBytes(lineBytes);
      }
      OnLine(line);
      pending_.clear();
      continue;
    }
    const std::string_view available = bytes.substr(pos);
    switch (state_) {
      case State::LengthBody:
      case State::ChunkData: {
        const std::size_t n = std::min(remaining_, available.size());
        AppendBody(available.substr(0, n));
        pos += n;
        remaining_ -= n;
        if (remaining_ == 0) state_ = state_ == State::LengthBody ? State::Done : State::ChunkDataEnd;
        break;
      }
      case State::UntilClose:
        AppendBody(available);
        pos = bytes.size();
        break;
      default:
        break;
    }
  }
  return pos;
}

bool ReplyParser::TakeLine(std::string_view bytes, std::size_t& pos, std::string_view& line,
                           std::size_t& lineBytes) {
  const char* begin = bytes.data() + pos;
  const std::size_t available = bytes.size() - pos;
  const void* lf = std::memchr(begin, '\n', available);
  if (lf == nullptr) {
    pending_.append(begin, available);
    pos = bytes.size();
    // One byte more than the limit may still be the CR before the LF.
    if (pending_.size() > kMaxLineLength + 1) Fail(kMaxLineLengthExceeded);
    return false;
  }
  const std::size_t length = static_cast<const char*>(lf) - begin;
  if (pending_.empty()) {
    line = std::string_view(begin, length);
  } else {
    pending_.append(begin, length);
    line = pending_;
  }
  pos += length + 1;
  lineBytes = line.size() + 1;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > kMaxLineLength) Fail(kMaxLineLengthExceeded);
  return true;
}

void ReplyParser::CountHeadBytes(std::size_t lineBytes) {
  headBytes_ += lineBytes;
  if (headBytes_ > kMaxHeadBytes) Fail(kResponseTooLarge);
}

void ReplyParser::OnLine(std::string_view line) {
  switch (state_) {
    case State::StatusLine:
      OnStatusLine(line);
      break;
    case State::Headers:
      OnHeaderLine(line);
      break;
    case State::ChunkSize:
      OnChunkSizeLine(line);
      break;
    case State::ChunkDataEnd:
      state_ = State::ChunkSize;
      break;
    case State::Trailers:
      if (line.empty()) state_ = State::Done;
      break;
    default:
      break;
  }
}

void ReplyParser::OnStatusLine(std::string_view line) {
  head_ = ReplyHead{};
  head_.statusLine = std::string(line);
  head_.statusCode = ParseStatusCode(line);
  state_ = State::Headers;
}

void ReplyParser::OnHeaderLine(std::string_view line) {
  if (line.empty()) {
    OnEndOfHead();
    return;
  }
  if ((line.front() == ' ' || line.front() == '\t') && !head_.headers.empty()) {
    // A folded continuation of the previous header's value.
    std::string& value = head_.headers.back().value;
    value += ' ';
    value += TrimBlanks(line);
    return;
  }
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return;
  head_.headers.push_back(
      HeaderField{std::string(TrimBlanks(line.substr(0, colon))), std::string(TrimBlanks(line.substr(colon + 1)))});
}

void ReplyParser::OnEndOfHead() {
  if (head_.statusCode == 100) {
    state_ = State::StatusLine;
    return;
  }
  headComplete_ = true;
  const int code = head_.statusCode;
  if (code == 204 || code == 304 || (code >= 100 && code < 200)) {
    framing_ = BodyFraming::None;
    state_ = State::Done;
    return;
  }
  long long contentLength = -1;
  if (const std::string* value = head_.Find("Content-Length")) contentLength = ParseContentLength(*value);
  // A length above 0 frames the body; otherwise chunked coding does, even
  // beside a Content-Length of 0; otherwise that 0 means no body.
  const std::string* coding = head_.Find("Transfer-Encoding");
  if (contentLength > 0) {
    framing_ = BodyFraming::Length;
    if (static_cast<unsigned long long>(contentLength) > kMaxBodyBytes) Fail(kResponseTooLarge);
    remaining_ = static_cast<std::size_t>(contentLength);
    bodyCeiling_ = remaining_;
    body_.reserve(std::min(remaining_, kFirstBodyReserve));
    state_ = State::LengthBody;
  } else if (coding != nullptr && ContainsIgnoringCase(*coding, "chunked")) {
    framing_ = BodyFraming::Chunked;
    state_ = State::ChunkSize;
  } else if (contentLength == 0) {
    framing_ = BodyFraming::None;
    state_ = State::Done;
  } else {
    framing_ = BodyFraming::UntilClose;
    state_ = State::UntilClose;
  }
}

void ReplyParser::OnChunkSizeLine(std::string_view line) {
  line = TrimBlanks(line.substr(0, line.find(';')));
  if (line.empty()) Fail(kInvalidChunkSize);
  std::size_t size = 0;
  for (char c : line) {
    const int digit = HexDigitValue(c);
    if (digit < 0) Fail(kInvalidChunkSize);
    size = size * 16 + static_cast<std::size_t>(digit);
    if (size > kMaxBodyBytes) Fail(kResponseTooLarge);
  }
  if (size == 0) {
    state_ = State::Trailers;
    return;
  }
  if (body_.size() + size > kMaxBodyBytes) Fail(kResponseTooLarge);
  remaining_ = size;
  state_ = State::ChunkData;
}

void ReplyParser::AppendBody(std::string_view bytes) {
  if (bytes.size() > kMaxBodyBytes - body_.size()) Fail(kResponseTooLarge);
  const std::size_t needed = body_.size() + bytes.size();
  if (needed > body_.capacity()) {
    // A string doubles its buffer as it grows, so a body near the limit
    // could sit in a buffer of nearly twice the limit. Grow in the same
    // doubling steps, but never past what the body can come to; a fresh
    // string takes exactly the capacity it is asked for.
    const std::size_t capacity = std::max(needed, std::min(body_.capacity() * 2, bodyCeiling_));
    std::string grown;
    grown.reserve(capacity);
    grown.append(body_);
    body_.swap(grown);
  }
  body_.append(bytes);
}

void ReplyParser::Close() {
  switch (state_) {
    case State::StatusLine:
      Fail(kConnectionClosedGracefully);
    case State::Headers: {
      const int code = head_.statusCode;
      if (code >= 200 && code <= 299) Fail(kUndefinedSituation);
      if (code >= 100 && code <= 199) Fail(kConnectionClosedGracefully);
      Fail(head_.statusLine);
    }
    case State::ChunkSize:
    case State::ChunkData:
    case State::ChunkDataEnd:
      Fail(kConnectionClosedGracefully);
    case State::LengthBody:
    case State::Trailers:
    case State::UntilClose:
      state_ = State::Done;
      break;
    case State::Done:
      break;
  }
}

bool IsSuccess(const ReplyHead& head) {
  return head.statusCode >= 200 && head.statusCode <= 299 && head.Find("Location") == nullptr;
}

bool AsksToClose(const ReplyHead& head) {
  for (const HeaderField& field : head.headers) {
    if (!EqualsIgnoringCase(field.name, "Connection") && !EqualsIgnoringCase(field.name, "Proxy-Connection")) continue;
    std::string_view tokens = field.value;
    while (!tokens.empty()) {
      const std::size_t comma = tokens.find(',');
      if (EqualsIgnoringCase(TrimBlanks(tokens.substr(0, comma)), "close")) return true;
      if (comma == std::string_view::npos) break;
      tokens.remove_prefix(comma + 1);
    }
  }
  return false;
}

}  // namespace umbra::net
