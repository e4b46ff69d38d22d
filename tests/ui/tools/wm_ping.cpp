// Asks an X client whether it still answers, the way a window manager does
// (_NET_WM_PING), every few milliseconds for a while, and reports how long
// the answers took. A client whose GUI thread is blocked answers late or not
// at all. Can also ask a window to close, as its title bar's close box does
// (WM_DELETE_WINDOW).
//
//   umbrascope_wm_ping <window-id> <every-ms> <for-ms> <limit-ms>
//       stops sending after for-ms or at SIGTERM, whichever comes first,
//       waits limit-ms for the last answers, prints what it measured, and
//       exits 0 when every ping was answered within limit-ms, 1 otherwise
//   umbrascope_wm_ping --close <window-id>

#include <poll.h>
#include <signal.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

volatile sig_atomic_t stopRequested = 0;
void RequestStop(int) { stopRequested = 1; }

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
      nullptr);
  if (reply == nullptr) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

void SendProtocolMessage(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t protocols,
                         xcb_atom_t protocol, std::uint32_t stamp) {
  xcb_client_message_event_t event{};
  event.response_type = XCB_CLIENT_MESSAGE;
  event.format = 32;
  event.window = window;
  event.type = protocols;
  event.data.data32[0] = protocol;
  event.data.data32[1] = stamp;
  event.data.data32[2] = window;
  xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
  xcb_flush(connection);
}

bool ParseWindow(const char* text, xcb_window_t& window) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(text, &end, 0);
  window = static_cast<xcb_window_t>(value);
  return *text != '\0' && *end == '\0' && value != 0;
}

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
  const bool close = argc == 3 && std::strcmp(argv[1], "--close") == 0;
  if (argc != 5 && !close) {
    std::fprintf(stderr,
                 "usage: %s <window-id> <every-ms> <for-ms> <limit-ms>\n"
                 "       %s --close <window-id>\n",
                 argv[0], argv[0]);
    return 2;
  }
  xcb_window_t window = 0;
  if (!ParseWindow(argv[close ? 2 : 1], window)) {
    std::fprintf(stderr, "not a window id: %s\n", argv[close ? 2 : 1]);
    return 2;
  }
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(connection)) {
    std::fprintf(stderr, "cannot open the display\n");
    return 2;
  }
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
  const xcb_window_t root = screens.data->root;
  const xcb_atom_t protocols = Atom(connection, "WM_PROTOCOLS");

  if (close) {
    SendProtocolMessage(connection, window, protocols, Atom(connection, "WM_DELETE_WINDOW"),
                        XCB_CURRENT_TIME);
    // A flush only hands the bytes to the socket; unlike XCloseDisplay,
    // xcb_disconnect does not wait for the server, which can drop a request
    // still in its buffer when the connection ends. One round trip makes
    // sure the close has been delivered before we go.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    xcb_disconnect(connection);
    return 0;
  }

  const auto every = std::chrono::milliseconds(std::atoi(argv[2]));
  const auto duration = std::chrono::milliseconds(std::atoi(argv[3]));
  const auto limit = std::chrono::milliseconds(std::atoi(argv[4]));
  const xcb_atom_t ping = Atom(connection, "_NET_WM_PING");
  // The answer goes to the root window, to whoever listens for its
  // structure events.
  const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(connection);

  std::map<std::uint32_t, Clock::time_point> sent;
  std::vector<double> latencies;
  const Clock::time_point start = Clock::now();
  Clock::time_point stopSending = start + duration;
  struct sigaction stop {};
  stop.sa_handler = RequestStop;
  sigaction(SIGTERM, &stop, nullptr);
  Clock::time_point nextSend = start;
  std::uint32_t stamp = 1;
  for (;;) {
    const Clock::time_point now = Clock::now();
    if (stopRequested && now < stopSending) stopSending = now;
    if (now >= stopSending && (sent.empty() || now >= stopSending + limit)) break;
    if (now >= nextSend && now < stopSending) {
      sent[stamp] = now;
      SendProtocolMessage(connection, window, protocols, ping, stamp++);
      nextSend += every;
      continue;
    }
    const Clock::time_point wakeUp = now < stopSending ? nextSend : stopSending + limit;
    pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
    const int timeout = std::max(0, static_cast<int>(Milliseconds(wakeUp - now)) + 1);
    if (::poll(&descriptor, 1, timeout) < 0) continue;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
      if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
        auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
        const auto found = sent.find(message->data.data32[1]);
        if (message->type == protocols && message->data.data32[0] == ping && found != sent.end()) {
          const double latency = Milliseconds(Clock::now() - found->second);
          latencies.push_back(latency);
          if (latency > Milliseconds(limit)) {
            std::printf("late: ping sent at %.0f ms answered after %.1f ms\n",
                        Milliseconds(found->second - start), latency);
          }
          sent.erase(found);
        }
      }
      std::free(event);
    }
    if (xcb_connection_has_error(connection)) {
      std::fprintf(stderr, "lost the display\n");
      return 2;
    }
  }
  xcb_disconnect(connection);

  const std::size_t pings = stamp - 1;
  std::vector<double> sorted = latencies;
  std::sort(sorted.begin(), sorted.end());
  const auto percentile = [&](double p) {
    return sorted.empty() ? 0.0 : sorted[static_cast<std::size_t>(p * static_cast<double>(sorted.size() - 1))];
  };
  const auto late = static_cast<std::size_t>(
      std::count_if(latencies.begin(), latencies.end(),
                    [&](double ms) { return ms > Milliseconds(limit); }));
  std::printf("pings %zu answered %zu unanswered %zu over %lld ms %zu; latency median %.1f ms, "
              "99th percentile %.1f ms, max %.1f ms\n",
              pings, latencies.size(), sent.size(), static_cast<long long>(limit.count()), late,
              percentile(0.5), percentile(0.99), sorted.empty() ? 0.0 : sorted.back());
  return sent.empty() && late == 0 && pings > 0 ? 0 : 1;
}
