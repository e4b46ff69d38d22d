#include "watch/watch_cycle.h"

#include <exception>
#include <optional>
#include <string_view>
#include <utility>

#include "watch/date_time_text.h"
#include "watch/integer_text.h"
#include "watch/presence_query.h"
#include "watch/refresh_period.h"
#include "watch/text_split.h"
#include "watch/watch_texts.h"

namespace umbra {

namespace {

constexpr std::size_t kKeptBodySlack = 1 << 20;

// State codes are a byte or two: compared here rather than through a call.
bool SameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace

WatchCycle::WatchCycle(WatchView& view, RefreshTimer& timer, Clock& clock, net::HttpClient& http,
                       std::string endpointBase)
    : view_(view), timer_(timer), clock_(clock), http_(http), endpointBase_(std::move(endpointBase)) {}

void WatchCycle::Start() {
  if (view_.NumbersText().empty()) {
    view_.ShowMessage(texts::EmptyNumbers());
    return;
  }
  const std::string refresh = view_.RefreshText();
  if (!IsNumber(refresh)) {
    view_.ShowMessage(texts::BadRefreshTime());
    return;
  }
  timer_.SetInterval(RefreshPeriod(StrToInt(refresh)));
  baselineDone_ = 0;
  // The scan arms the timer itself, so the first tick comes one period after
  // the first scan has finished.
  Scan();
  view_.SetStopEnabled(true);
  view_.SetQueryEnabled(false);
}

void WatchCycle::Tick() {
  Scan();
  // Re-read every tick, so a refresh time changed during a watch takes effect
  // from the end of the next tick. A text that is no integer throws here, on
  // purpose: the user then sees why the watch stopped.
  timer_.SetInterval(RefreshPeriod(StrToInt(view_.RefreshText())));
}

void WatchCycle::Stop() {
  baselineDone_ = 0;
  view_.SetStopEnabled(false);
  view_.SetQueryEnabled(true);
  timer_.SetEnabled(false);
}

void WatchCycle::Scan() {
  std::string numbers = view_.NumbersText();
  if (numbers.empty()) {
    Stop();
    view_.ShowMessage(texts::EmptyNumbers());
    return;
  }
  if (!IsNumber(view_.RefreshText())) {
    Stop();
    view_.ShowMessage(texts::BadRefreshTime());
    return;
  }

  // The numbers field rarely changes between ticks; while it holds what the
  // table was last brought into line with, the table and the address stand.
  if (numbers != numbersTaken_) {
    TakeNumberTexts(numbers);
    numbersTaken_ = std::move(numbers);
    queryUrl_.clear();
  }

  lastScanFailed_ = false;
  try {
    if (queryUrl_.empty()) WritePresenceQueryUrl(queryUrl_, endpointBase_, statusTable_);
    http_.Get(queryUrl_, body_);
    view_.ClearList(WatchList::Online);
    view_.ClearList(WatchList::Offline);
    // Entry i answers for row i. Entries beyond the watched numbers answer
    // for nobody: they are not even cut out of the body.
    StatusRow* row = statusTable_.data();
    ForEachStateCode(body_, statusTable_.size(), [&](std::string_view stateCode) {
      view_.AppendAndSelect(stateCode == "1" ? WatchList::Online : WatchList::Offline, row->number);
      if (!SameBytes(stateCode, row->stateCode)) {
        row->stateCode.assign(stateCode);
        ReportChange(*row);
      }
      ++row;
    });
    // A reply far larger than the usual ones leaves a buffer to match;
    // kept, it would hold that memory for the rest of the run.
    if (body_.capacity() > 4 * body_.size() + kKeptBodySlack) std::string().swap(body_);
    if (baselineDone_ == 0) {
      baselineDone_ = 1;
      timer_.SetEnabled(true);
    }
  } catch (const std::exception& e) {
    lastScanFailed_ = true;
    timer_.SetEnabled(true);
    EventLine failure;
    failure.kind = EventLine::Kind::Failure;
    failure.at = clock_.Now();
    failure.message = e.what();
    const std::string text = DateTimeText(failure.at) + texts::LoadFailedPrefix() + e.what();
    failure.text = text;
    view_.AppendEvent(failure);
  }
}

void WatchCycle::TakeNumberTexts(std::string_view numbers) {
  PieceCursor pieces(numbers, ",");
  std::size_t count = 0;
  const auto take = [&](std::string_view piece, bool last) {
    if (count == statusTable_.size()) {
      // The table grows once, to its exact size: a doubling vector would
      // hold up to twice the rows a long list needs.
      std::size_t more = 1;
      if (!last) {
        PieceCursor ahead = pieces;
        for (++more; ahead.NextBeforeDelimiter(); ++more) {
        }
      }
      statusTable_.reserve(count + more);
      statusTable_.resize(count + more);
    }
    // Most scans see the numbers of the scan before: nothing to write then.
    std::string& number = statusTable_[count++].number;
    if (number != piece) number.assign(piece);
  };
  while (const std::optional<std::string_view> piece = pieces.NextBeforeDelimiter()) take(*piece, false);
  take(pieces.Rest(), true);
  // Surplus rows at the end go; the others keep their state codes.
  statusTable_.resize(count);
}

void WatchCycle::ReportChange(const StatusRow& row) {
  // The list is chosen by "1", the wording by "0": a code that is neither
  // lands in the offline list but is worded as coming online.
  const std::string& event = row.stateCode == "0"
      ? (baselineDone_ ? texts::WentInvisible() : texts::WentOffline())
      : (baselineDone_ ? texts::CameOnlineAgain() : texts::CameOnline());
  EventLine change;
  change.kind = EventLine::Kind::Change;
  change.at = clock_.Now();
  change.number = row.number;
  change.stateCode = row.stateCode;
  change.eventText = event;
  const std::string text = DateTimeText(change.at) + texts::kLineSeparator + row.number + event;
  change.text = text;
  view_.AppendEvent(change);
  // The date-time text is taken anew for every line written.
  historyFiles_.AppendLine(row.number, DateTimeText(clock_.Now()) + texts::kLineSeparator + event);
}

}  // namespace umbra
