// The watch run over a recording and played back later must leave the view,
// the timer and the files exactly as the watch run straight onto them does:
// the same calls in the same order, the same texts, the same escaped error.

#include "watch/recorded_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "tests/support/scripted_http_server.h"
#include "tests/support/temp_working_dir.h"
#include "watch/watch_cycle.h"

namespace umbra {
namespace {

using test::ScriptedHttpServer;
using test::ScriptedReply;
using Transcript = std::vector<std::string>;

// Writes down every call of the view and the timer, with every part of an
// event line, in one transcript.
class TranscriptView final : public WatchView, public RefreshTimer {
 public:
  std::string numbers = "111,222";
  std::string refresh = "30";
  Transcript calls;

  std::string NumbersText() override { return numbers; }
  std::string RefreshText() override { return refresh; }
  void ClearList(WatchList list) override { calls.push_back("clear " + Name(list)); }
  void AppendAndSelect(WatchList list, std::string_view line) override {
    calls.push_back("append " + Name(list) + " " + std::string(line));
  }
  void AppendEvent(const EventLine& line) override {
    calls.push_back("event " + std::to_string(static_cast<int>(line.kind)) + " " +
                    std::to_string(line.at.hour) + ":" + std::to_string(line.at.minute) + " [" +
                    std::string(line.number) + "|" + std::string(line.stateCode) + "|" +
                    std::string(line.eventText) + "|" + std::string(line.message) + "] " +
                    std::string(line.text));
  }
  void ShowMessage(const std::string& text) override { calls.push_back("message " + text); }
  void SetQueryEnabled(bool enabled) override { calls.push_back(enabled ? "query on" : "query off"); }
  void SetStopEnabled(bool enabled) override { calls.push_back(enabled ? "stop on" : "stop off"); }
  void SetEnabled(bool enabled) override { calls.push_back(enabled ? "timer on" : "timer off"); }
  void SetInterval(std::uint32_t ms) override { calls.push_back("interval " + std::to_string(ms)); }

 private:
  static std::string Name(WatchList list) {
    switch (list) {
      case WatchList::Online: return "online";
      case WatchList::Offline: return "offline";
      case WatchList::EventLog: return "log";
    }
    return "?";
  }
};

class FixedClock final : public Clock {
 public:
  LocalDateTime Now() override { return {2026, 12, 10, 20, 34, 5}; }
};

// What the user does between the watch's calls: edits a field.
using Edit = std::function<void(TranscriptView&)>;

enum class Call { Start, Tick, Stop };

struct Step {
  Edit edit;  // may be empty
  Call call;
};

struct Case {
  const char* name;
  std::vector<ScriptedReply> replies;
  std::vector<Step> steps;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// One way of running the watch, with its own directory for the history
// files and its own server.
struct Outcome {
  Transcript calls;
  std::vector<std::string> escaped;  // per step: the error's text, or ""
  std::string files;                 // every history file's name and bytes
};

std::string HistoryFiles() {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(".")) paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  std::string all;
  for (const auto& path : paths) {
    all += path.filename().string() + ":" + test::ReadFileBytes(path.string()) + "\n";
  }
  return all;
}

std::string Run(WatchCycle& watch, Call call) {
  try {
    switch (call) {
      case Call::Start: watch.Start(); break;
      case Call::Tick: watch.Tick(); break;
      case Call::Stop: watch.Stop(); break;
    }
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}

Outcome RunStraight(const Case& c) {
  test::TempWorkingDir dir;
  ScriptedHttpServer server(c.replies);
  TranscriptView view;
  FixedClock clock;
  net::HttpClient http{std::chrono::seconds(5)};
  WatchCycle watch(view, view, clock, http, server.BaseUrl());
  Outcome outcome;
  for (const Step& step : c.steps) {
    if (step.edit) step.edit(view);
    outcome.escaped.push_back(Run(watch, step.call));
  }
  outcome.calls = view.calls;
  outcome.files = HistoryFiles();
  return outcome;
}

// How the recording is played back: whole, or one change per call.
enum class Playback { Whole, OneAtATime };

Outcome RunRecorded(const Case& c, Playback playback) {
  test::TempWorkingDir dir;
  ScriptedHttpServer server(c.replies);
  TranscriptView view;
  RecordedView recorder;
  FixedClock clock;
  net::HttpClient http{std::chrono::seconds(5)};
  WatchCycle watch(recorder, recorder, clock, http, server.BaseUrl());
  Outcome outcome;
  for (const Step& step : c.steps) {
    if (step.edit) step.edit(view);
    recorder.Begin(view.NumbersText(), view.RefreshText());
    try {
      switch (step.call) {
        case Call::Start: watch.Start(); break;
        case Call::Tick: watch.Tick(); break;
        case Call::Stop: watch.Stop(); break;
      }
    } catch (...) {
      recorder.RecordEscaped(std::current_exception());
    }
    // Nothing reaches the real view before the replay.
    EXPECT_EQ(view.calls.size(), outcome.calls.size()) << "during step " << outcome.escaped.size();
    try {
      if (playback == Playback::Whole) {
        recorder.Replay(view, view);
      } else {
        std::size_t calls = 0;
        while (!recorder.ReplayWhile(view, view, [] { return false; })) ++calls;
        // One call per change, less the last one's.
        EXPECT_EQ(calls + 1, std::max<std::size_t>(1, view.calls.size() - outcome.calls.size()));
      }
      outcome.escaped.emplace_back();
    } catch (const std::exception& e) {
      outcome.escaped.emplace_back(e.what());
    }
    outcome.calls = view.calls;
  }
  outcome.files = HistoryFiles();
  return outcome;
}

Edit Numbers(std::string text) {
  return [text](TranscriptView& view) { view.numbers = text; };
}
Edit Refresh(std::string text) {
  return [text](TranscriptView& view) { view.refresh = text; };
}

const ScriptedReply kNotFound = ScriptedReply::Raw("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");

class RecordedViewTest : public ::testing::TestWithParam<Case> {};

TEST_P(RecordedViewTest, ReplayMatchesTheWatchRunStraight) {
  const Outcome straight = RunStraight(GetParam());
  for (const Playback playback : {Playback::Whole, Playback::OneAtATime}) {
    SCOPED_TRACE(playback == Playback::Whole ? "whole" : "one at a time");
    const Outcome recorded = RunRecorded(GetParam(), playback);
    EXPECT_EQ(recorded.calls, straight.calls);
    EXPECT_EQ(recorded.escaped, straight.escaped);
    EXPECT_EQ(recorded.files, straight.files);
  }
  EXPECT_FALSE(straight.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordedViewTest,
    ::testing::Values(
        Case{"WatchWithChangesAndRepeats",
             {ScriptedReply::Ok("a=1;b=0;"), ScriptedReply::Ok("a=1;b=0;"), ScriptedReply::Ok("a=0;b=1;")},
             {{{}, Call::Start}, {{}, Call::Tick}, {{}, Call::Tick}}},
        Case{"FailedScanThenFirstWording",
             {kNotFound, ScriptedReply::Ok("a=1;b=2;")},
             {{{}, Call::Start}, {{}, Call::Tick}}},
        Case{"EntryWithoutEqualsSign", {ScriptedReply::Ok("a=1;b;")}, {{{}, Call::Start}}},
        Case{"RefusedStart", {}, {{Numbers(""), Call::Start}, {Refresh("abc"), Call::Start}}},
        // The message comes between the stop and the conversion error.
        Case{"BadRefreshTimeAtATick",
             {ScriptedReply::Ok("a=1;b=0;")},
             {{{}, Call::Start}, {Refresh("abc"), Call::Tick}}},
        Case{"NumbersEmptiedAtATick",
             {ScriptedReply::Ok("a=1;b=0;")},
             {{{}, Call::Start}, {Numbers(""), Call::Tick}}},
        Case{"RefreshChangedThenStopAndStartAgain",
             {ScriptedReply::Ok("a=1;b=0;"), ScriptedReply::Ok("a=1;b=0;"), ScriptedReply::Ok("a=0;b=0;")},
             {{{}, Call::Start}, {Refresh("60"), Call::Tick}, {{}, Call::Stop}, {{}, Call::Start}}},
        Case{"ChineseNumberText",
             {ScriptedReply::Ok("a=1;")},
             {{Numbers(Utf8ToGbk("输入QQ号码")), Call::Start}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordedView, AnswersTheSnapshotAndForgetsTheLastRecording) {
  RecordedView recorder;
  TranscriptView view;
  recorder.Begin("1,2", "15");
  EXPECT_EQ(recorder.NumbersText(), "1,2");
  EXPECT_EQ(recorder.RefreshText(), "15");
  recorder.ShowMessage("left over");
  recorder.RecordEscaped(std::make_exception_ptr(std::runtime_error("left over")));

  recorder.Begin("3", "60");
  recorder.SetStopEnabled(true);
  recorder.Replay(view, view);
  EXPECT_EQ(view.calls, Transcript{"stop on"});
  EXPECT_EQ(recorder.NumbersText(), "3");

  // A replay uses the recording up.
  recorder.Replay(view, view);
  EXPECT_EQ(view.calls, Transcript{"stop on"});
}

}  // namespace
}  // namespace umbra
