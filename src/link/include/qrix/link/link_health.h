#pragma once
// What the line did: counters per exchange kind and a time-stamped log of the last line events.
// The exchanges report into it; the link indicator, its log window and batch use read it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <deque>
#include <string>

namespace qrix::link {

enum class ExchangeKind {
  LineCheck,
  HardwareInfo,
  FirmwareText,
  ParameterRead,
  ParameterWrite,
  Run,
  Teach,
  Reset,
  Block,
  FlashClear,
  FlashWrite,
};
inline constexpr std::size_t kExchangeKinds = 11;
const char* nameOf(ExchangeKind kind);

// How an exchange ended.
enum class Outcome {
  Answered,    // the frame (or raw answer) it waited for arrived
  TimedOut,    // nothing usable within the time-out
  WrongEcho,   // frames came, but none echoed the request's command
  OutOfStep,   // bytes came, but never a frame starting with the sync word
  LineLost,    // the device went away
  NotAwaited,  // a request that expects no answer (a parameter write)
};
const char* nameOf(Outcome outcome);

struct ExchangeCounters {
  std::uint64_t requests = 0;
  std::uint64_t answers = 0;
  std::uint64_t timeouts = 0;
  std::uint64_t wrongEcho = 0;
  std::uint64_t outOfStep = 0;
  std::uint64_t lineLost = 0;
  std::uint64_t droppedBytes = 0;   // bytes ahead of a sync word, dropped by the frame reader
  std::uint64_t shortBlocks = 0;    // raw answers short of their length within the time-out
  std::uint64_t surplusBlocks = 0;  // raw answers with bytes beyond their length
  // Every exchange that did not bring what it waited for, of any kind of failure.
  std::uint64_t failures() const {
    return timeouts + wrongEcho + outOfStep + lineLost + shortBlocks + surplusBlocks;
  }
};

// Colour of the link indicator.
enum class LinkState {
  Unknown,   // grey: no exchange yet
  Good,      // green
  Degraded,  // amber: more than 1 % of the last 100 exchanges failed
  Failed,    // red: the line is lost or did not open, or the last exchange failed
};

// A run of the same event, with no exchange answered between them, is one event with its count
// and the time of its latest: a line that keeps failing does not push everything else out of the
// log.
struct LineEvent {
  std::time_t calendar = 0;  // wall clock, for the reader of the log
  double seconds = 0;        // runtime clock, for the order and spacing of events
  std::string text;
  std::uint64_t count = 1;  // times in a row
};

class LinkHealth {
 public:
  static constexpr std::size_t kLogEvents = 500;
  static constexpr std::size_t kRecentExchanges = 100;

  // One exchange of `kind` ended with `outcome` (also when no answer was awaited).
  void record(ExchangeKind kind, Outcome outcome);
  void droppedBytes(ExchangeKind kind, std::uint64_t count);
  void shortBlock(ExchangeKind kind);
  void surplusBlock(ExchangeKind kind);
  // The port opened (the line is there again), went away, or did not open: no line either way.
  void lineOpened();
  void lineLost();
  void lineNotOpened();

  // Appends to the log, dropping the oldest event beyond kLogEvents; the same text as the newest
  // event, with no exchange answered since, counts that event once more instead.
  void log(std::time_t calendar, double seconds, std::string text);

  LinkState state() const;
  bool lost() const { return lost_; }
  bool notOpened() const { return notOpened_; }  // lost since the port did not open
  const ExchangeCounters& counters(ExchangeKind kind) const {
    return counters_[static_cast<std::size_t>(kind)];
  }
  ExchangeCounters totals() const;
  const std::deque<LineEvent>& events() const { return events_; }
  // One line per exchange kind that was used, for a tooltip or the end of a batch run.
  std::string summary() const;
  // The log as text, one event per line, oldest first.
  std::string logText() const;

 private:
  std::array<ExchangeCounters, kExchangeKinds> counters_{};
  std::deque<bool> recent_;  // failed? of the last exchanges, oldest first
  bool lost_ = false;
  bool notOpened_ = false;
  std::deque<LineEvent> events_;
  bool answeredSinceLog_ = false;  // an exchange went well after the newest event
};

// "2026-12-07 09:14:03  +12.345 s  text", or "... text (x458)" for a run of 458.
std::string formatEvent(const LineEvent& event);

}  // namespace qrix::link
