#pragma once
// Reads an HTTP/1.1 reply from bytes as they arrive, in pieces of any size,
// without touching a socket: the connection feeds it, and tests feed it
// directly. Each byte is looked at once, however the reply is cut up.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace umbra::net {

// A status line or header line longer than this fails the reply, so a server
// that never ends its line cannot make the client grow without end.
inline constexpr std::size_t kMaxLineLength = 16384;
// The largest body accepted. The presence reply for thousands of numbers is a
// few hundred kilobytes; anything far beyond is a fault, not an answer.
inline constexpr std::size_t kMaxBodyBytes = 64u * 1024u * 1024u;
// The most bytes of lines one reply may carry outside its body, for the same
// reason as the line limit: many short lines must not add up to an unbounded
// head either. Every line counts with its line end: the status lines and
// headers of "100 Continue" replies, lines that are no header, and the
// trailer lines after the last chunk.
inline constexpr std::size_t kMaxHeadBytes = 1024u * 1024u;

struct HeaderField {
  std::string name;
  std::string value;  // without the blanks around it
};

struct ReplyHead {
  std::string statusLine;  // as received, without its line end
  int statusCode = -1;     // -1 when the status line carries no number
  std::vector<HeaderField> headers;

  // The value of the first header of that name (compared ignoring case), or
  // nullptr.
  const std::string* Find(std::string_view name) const;
};

enum class BodyFraming {
  None,        // 204, 304, 1xx and Content-Length 0
  Length,      // Content-Length greater than 0
  Chunked,     // Transfer-Encoding naming "chunked", without a Content-Length above 0
  UntilClose,  // neither: the body ends where the server closes
};

class ReplyParser {
 public:
  // Takes the next bytes received. Returns how many it used: all of them
  // until the reply is complete, then none. Throws HttpError with the
  // exchange's failure message.
  std::size_t Feed(std::string_view bytes);
  // The server has closed the connection. Completes a body that the close
  // frames (or cuts short, for Content-Length); throws HttpError when the
  // reply cannot be complete.
  void Close();

  bool ReceivedAnything() const { return receivedAnything_; }
  // True once the final (not 100) reply's header lines have all come.
  bool HeadComplete() const { return headComplete_; }
  bool Complete() const { return state_ == State::Done; }
  const ReplyHead& Head() const { return head_; }
  BodyFraming Framing() const { return framing_; }
  std::string& Body() { return body_; }

 private:
  enum class State { StatusLine, Headers, LengthBody, ChunkSize, ChunkData, ChunkDataEnd, Trailers, UntilClose, Done };

  bool InLineState() const;
  bool TakeLine(std::string_view bytes, std::size_t& pos, std::string_view& line, std::size_t& lineBytes);
  void CountHeadBytes(std::size_t lineBytes);
  void OnLine(std::string_view line);
  void OnStatusLine(std::string_view line);
  void OnHeaderLine(std::string_view line);
  void OnEndOfHead();
  void OnChunkSizeLine(std::string_view line);
  void AppendBody(std::string_view bytes);

  State state_ = State::StatusLine;
  std::string pending_;  // a line not yet ended by LF
  ReplyHead head_;
  bool headComplete_ = false;
  bool receivedAnything_ = false;
  BodyFraming framing_ = BodyFraming::None;
  std::size_t headBytes_ = 0;  // of every line outside the body so far
  std::size_t remaining_ = 0;  // of the Content-Length body or of the current chunk
  // The most the body can still come to: the Content-Length, or the body
  // limit. Its buffer grows in steps up to this and never beyond.
  std::size_t bodyCeiling_ = kMaxBodyBytes;
  std::string body_;
};

// A reply the exchange accepts: status 200 to 299 and no Location header.
// Any redirection fails, since none is followed.
bool IsSuccess(const ReplyHead& head);

// True when the Connection or Proxy-Connection header says "close".
bool AsksToClose(const ReplyHead& head);

}  // namespace umbra::net
