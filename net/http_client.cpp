#include "net/http_client.h"

#include <memory>
#include <utility>

#include "base/deadline.h"
#include "base/text.h"
#include "base/wait_canceller.h"
#include "net/failure_messages.h"
#include "net/cookie_store.h"
#include "net/reply_parser.h"
#include "net/request_bytes.h"
#include "net/socket_error.h"
#include "net/target_encoding.h"
#include "net/tcp_connection.h"
#include "net/url.h"

namespace umbra::net {
namespace {

// Large enough that a reply of a few hundred kilobytes takes a handful of
// reads, small enough to keep for the life of the client.
constexpr std::size_t kReceiveBufferSize = 256 * 1024;

constexpr std::chrono::milliseconds kDefaultExchangeTimeout = std::chrono::minutes(1);

std::chrono::milliseconds NotNegative(std::chrono::milliseconds timeout) {
  return timeout < std::chrono::milliseconds::zero() ? std::chrono::milliseconds::zero() : timeout;
}

// A kept connection that the server dropped before answering: the request
// goes again on a new connection.
struct DroppedBeforeReply {};

}  // namespace

struct HttpClient::Impl {
  std::chrono::milliseconds timeout{0};
  std::chrono::milliseconds exchangeTimeout = kDefaultExchangeTimeout;
  os::HostResolver resolver = os::ResolveWithSystem;
  os::WaitCanceller canceller;
  TcpConnection connection{&canceller};
  std::string connectedHost;
  std::uint16_t connectedPort = 0;
  CookieStore cookies;
  std::unique_ptr<char[]> buffer = std::make_unique<char[]>(kReceiveBufferSize);
  // Kept from one request to the next: a query for many numbers is megabytes
  // each way, and building it afresh in fresh memory at every request costs
  // more than the exchange itself. A watch asks for the same address at every
  // scan: while neither it nor the cookies change, the request goes out as it
  // was built.
  HttpUrl address;           // of the kept request; its raw target dropped once encoded
  std::string target;        // the kept request's target, encoded
  std::string base;          // what comes before the target in that request's url
  bool targetVerbatim = false;  // that url ends with `target`, so base + target is the url
  std::string request;
  bool requestBuilt = false;
  std::string requestCookies;   // the Cookie value the kept request carries
  std::string bodyBuffer;

  std::string Get(std::string_view url);
  // The limit of one wait: the client's own, or what is left of the whole
  // exchange's, whichever ends first.
  Deadline WaitLimit(const Deadline& whole) const { return Deadline(timeout).EarlierOf(whole); }
  void Connect(const HttpUrl& address, const Deadline& whole);
  std::string Exchange(const std::string& request, const HttpUrl& address, const std::string& target,
                       bool connectionWasKept, const Deadline& whole);
  void TakeCookies(const ReplyHead& head, const HttpUrl& address, const std::string& target);
};

std::string HttpClient::Impl::Get(std::string_view url) {
  const Deadline whole(exchangeTimeout);
  if (canceller.Cancelled()) throw ExchangeCancelled();
  // base + target holds no NUL, so a url equal to it is read whole.
  const bool sameUrl = targetVerbatim && url.size() == base.size() + target.size() &&
                       url.substr(0, base.size()) == base && url.substr(base.size()) == target;
  if (!sameUrl) {
    url = UpToNul(url);
    targetVerbatim = false;
    requestBuilt = false;
    address = ParseHttpUrl(url);
    EncodeRequestTarget(address.target, target);
    std::string().swap(address.target);
    targetVerbatim = url.size() >= target.size() && url.substr(url.size() - target.size()) == target;
    base.assign(url.substr(0, targetVerbatim ? url.size() - target.size() : 0));
  }
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  std::string cookieHeader = cookies.HeaderFor(address.host, target, now);
  if (!requestBuilt || cookieHeader != requestCookies) {
    requestBuilt = false;
    BuildGetRequest(request, target, HostHeaderValue(address), cookieHeader);
    requestCookies = std::move(cookieHeader);
    requestBuilt = true;
  }

  const bool keep = connection.IsOpen() && connectedHost == address.host && connectedPort == address.port &&
                    !connection.PeerClosedOrSpoke();
  if (!keep) Connect(address, whole);
  try {
    return Exchange(request, address, target, keep, whole);
  } catch (const DroppedBeforeReply&) {
    Connect(address, whole);
    return Exchange(request, address, target, false, whole);
  }
}

void HttpClient::Impl::Connect(const HttpUrl& address, const Deadline& whole) {
  connection.Close();
  connection.Open(address.host, address.port, WaitLimit(whole), resolver);
  connectedHost = address.host;
  connectedPort = address.port;
}

std::string HttpClient::Impl::Exchange(const std::string& request, const HttpUrl& address, const std::string& target,
                                       bool connectionWasKept, const Deadline& whole) {
  ReplyParser parser;
  parser.Body().swap(bodyBuffer);
  parser.Body().clear();
  bool headTaken = false;
  bool closedByServer = false;
  bool bytesLeftOver = false;
  try {
    try {
      connection.SendAll(request, WaitLimit(whole));
      while (!parser.Complete()) {
        // A server that always has the next bytes ready never lets a wait
        // run out; the whole exchange's limit holds all the same.
        if (whole.Passed()) throw HttpError(std::string(kReadTimedOut));
        const std::size_t received = connection.Receive(buffer.get(), kReceiveBufferSize, WaitLimit(whole));
        if (received == 0) {
          if (connectionWasKept && !parser.ReceivedAnything()) throw DroppedBeforeReply{};
          closedByServer = true;
          parser.Close();
          break;
        }
        const std::size_t used = parser.Feed(std::string_view(buffer.get(), received));
        bytesLeftOver = bytesLeftOver || used < received;
        if (parser.HeadComplete() && !headTaken) {
          headTaken = true;
          TakeCookies(parser.Head(), address, target);
          // A failed reply whose body only the close would end is not worth
          // waiting for.
          if (!IsSuccess(parser.Head()) && parser.Framing() == BodyFraming::UntilClose) {
            throw HttpError(parser.Head().statusLine);
          }
        }
      }
    } catch (const SocketFailure& failure) {
      if (connectionWasKept && !parser.ReceivedAnything() && failure.Code() == kWsaConnectionReset) {
        throw DroppedBeforeReply{};
      }
      throw;
    }
  } catch (const DroppedBeforeReply&) {
    connection.Close();
    throw;
  } catch (const ExchangeCancelled&) {
    // Whoever cancelled wants the exchange ended, not its status line.
    connection.Close();
    throw;
  } catch (const HttpError&) {
    // Whatever came of the reply so far, the connection is in no state to
    // carry another request.
    connection.Close();
    if (parser.HeadComplete()) {
      if (!headTaken) TakeCookies(parser.Head(), address, target);
      if (!IsSuccess(parser.Head())) throw HttpError(parser.Head().statusLine);
    }
    throw;
  }

  const ReplyHead& head = parser.Head();
  // An informational reply other than 100 is followed by another one that
  // nobody will read; the connection cannot be reused after it.
  if (closedByServer || bytesLeftOver || AsksToClose(head) || head.statusCode < 200) connection.Close();
  if (!IsSuccess(head)) throw HttpError(head.statusLine);
  return std::move(parser.Body());
}

void HttpClient::Impl::TakeCookies(const ReplyHead& head, const HttpUrl& address, const std::string& target) {
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  for (const HeaderField& field : head.headers) cookies.Take(field.name, field.value, address.host, target, now);
}

ExchangeCancelled::ExchangeCancelled() : HttpError(SocketErrorMessage(os::kWsaInterrupted)) {}

HttpClient::HttpClient(std::chrono::milliseconds timeout) : impl_(std::make_unique<Impl>()) { SetTimeout(timeout); }

HttpClient::~HttpClient() = default;

void HttpClient::SetTimeout(std::chrono::milliseconds timeout) { impl_->timeout = NotNegative(timeout); }

void HttpClient::SetExchangeTimeout(std::chrono::milliseconds timeout) { impl_->exchangeTimeout = NotNegative(timeout); }

void HttpClient::SetResolver(os::HostResolver resolver) { impl_->resolver = std::move(resolver); }

void HttpClient::Cancel() noexcept { impl_->canceller.Cancel(); }

void HttpClient::ClearCancel() noexcept { impl_->canceller.Clear(); }

std::string HttpClient::Get(std::string_view url) { return impl_->Get(url); }

void HttpClient::Get(std::string_view url, std::string& body) {
  impl_->bodyBuffer = std::move(body);
  body.clear();
  body = impl_->Get(url);
}

}  // namespace umbra::net
