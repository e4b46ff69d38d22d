#pragma once
// The watch: the status scan and the start / stop / refresh cycle around it.
// It runs on the caller's thread and blocks it for the length of a query,
// exactly as the window's handlers always did.

#include <cstdint>
#include <string>
#include <string_view>

#include "net/http_client.h"
#include "watch/history_file.h"
#include "watch/status_table.h"
#include "watch/watch_ports.h"

namespace umbra {

class WatchCycle {
 public:
  // `endpointBase` is the presence endpoint's "http://host[:port]".
  WatchCycle(WatchView& view, RefreshTimer& timer, Clock& clock, net::HttpClient& http,
             std::string endpointBase);

  // Starts a watch (Query, after the notice window has been shown): checks
  // the inputs, sets the period, clears BaselineDone, scans once and flips
  // the buttons. An input error shows its message and changes nothing else.
  void Start();
  // Ends the watch (the Stop button, and a scan whose input check fails):
  // clears BaselineDone, disables Stop, enables Query, disables the timer.
  void Stop();
  // A tick of the refresh timer: scans, then re-reads the refresh time and
  // sets the period. Throws ConvertError when the refresh-time text is not an
  // integer at that moment; the caller shows it as an escaped error.
  void Tick();

  // One status scan. Errors of the query, the reply and the history files end
  // up as a failure line in the event log; none escapes.
  void Scan();

  const StatusTable& Table() const { return statusTable_; }
  bool BaselineDone() const { return baselineDone_ != 0; }
  // Whether the last scan that got past its input checks ended with a
  // failure line. Front ends that run a single scan report it.
  bool LastScanFailed() const { return lastScanFailed_; }

 private:
  // Brings StatusTable into line with the numbers field cut at ",": row i
  // gets the i-th number text and keeps its state code; new rows start empty,
  // surplus rows go.
  void TakeNumberTexts(std::string_view numbers);
  // The change line in the event log and the history line in the number's file.
  void ReportChange(const StatusRow& row);

  WatchView& view_;
  RefreshTimer& timer_;
  Clock& clock_;
  net::HttpClient& http_;
  std::string endpointBase_;
  StatusTable statusTable_;
  std::string numbersTaken_;  // the numbers field the table was last brought into line with
  std::string queryUrl_;      // the presence query's address for those numbers
  std::string body_;          // the last reply; its memory serves the next one
  unsigned char baselineDone_ = 0;
  bool lastScanFailed_ = false;
  HistoryFiles historyFiles_;
};

}  // namespace umbra
