#include "qrix/link/link_health.h"

#include <cstdio>

namespace qrix::link {

const char* nameOf(ExchangeKind kind) {
  switch (kind) {
    case ExchangeKind::LineCheck: return "line check";
    case ExchangeKind::HardwareInfo: return "hardware info";
    case ExchangeKind::FirmwareText: return "firmware text";
    case ExchangeKind::ParameterRead: return "parameter read";
    case ExchangeKind::ParameterWrite: return "parameter write";
    case ExchangeKind::Run: return "RUN";
    case ExchangeKind::Teach: return "teach";
    case ExchangeKind::Reset: return "max/min reset";
    case ExchangeKind::Block: return "data block";
    case ExchangeKind::FlashClear: return "flash clear";
    case ExchangeKind::FlashWrite: return "flash write";
  }
  return "?";
}

const char* nameOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::Answered: return "answered";
    case Outcome::TimedOut: return "time-out";
    case Outcome::WrongEcho: return "wrong echo";
    case Outcome::OutOfStep: return "out of step";
    case Outcome::LineLost: return "line lost";
    case Outcome::NotAwaited: return "sent";
  }
  return "?";
}

void LinkHealth::record(ExchangeKind kind, Outcome outcome) {
  ExchangeCounters& c = counters_[static_cast<std::size_t>(kind)];
  ++c.requests;
  switch (outcome) {
    case Outcome::Answered: ++c.answers; break;
    case Outcome::TimedOut: ++c.timeouts; break;
    case Outcome::WrongEcho: ++c.wrongEcho; break;
    case Outcome::OutOfStep: ++c.outOfStep; break;
    case Outcome::LineLost: ++c.lineLost; break;
    case Outcome::NotAwaited: break;
  }
  const bool failed = outcome != Outcome::Answered && outcome != Outcome::NotAwaited;
  recent_.push_back(failed);
  if (recent_.size() > kRecentExchanges) {
    recent_.pop_front();
  }
  if (!failed) {
    answeredSinceLog_ = true;
  }
}

void LinkHealth::droppedBytes(ExchangeKind kind, std::uint64_t count) {
  counters_[static_cast<std::size_t>(kind)].droppedBytes += count;
}

void LinkHealth::shortBlock(ExchangeKind kind) {
  ++counters_[static_cast<std::size_t>(kind)].shortBlocks;
}

void LinkHealth::surplusBlock(ExchangeKind kind) {
  ++counters_[static_cast<std::size_t>(kind)].surplusBlocks;
}

void LinkHealth::lineOpened() {
  lost_ = false;
  notOpened_ = false;
}

void LinkHealth::lineLost() {
  lost_ = true;
  notOpened_ = false;
}

void LinkHealth::lineNotOpened() {
  lost_ = true;
  notOpened_ = true;
}

void LinkHealth::log(std::time_t calendar, double seconds, std::string text) {
  const bool repeat = !events_.empty() && !answeredSinceLog_ && events_.back().text == text;
  answeredSinceLog_ = false;
  if (repeat) {
    LineEvent& last = events_.back();
    last.calendar = calendar;
    last.seconds = seconds;
    ++last.count;
    return;
  }
  events_.push_back({calendar, seconds, std::move(text)});
  if (events_.size() > kLogEvents) {
    events_.pop_front();
  }
}

LinkState LinkHealth::state() const {
  if (lost_) {
    return LinkState::Failed;
  }
  if (recent_.empty()) {
    return LinkState::Unknown;
  }
  if (recent_.back()) {
    return LinkState::Failed;
  }
  std::size_t failed = 0;
  for (bool f : recent_) {
    failed += f;
  }
  // More than 1 % of the last 100: two failures among them, whatever their number so far.
  return failed * 100 > kRecentExchanges ? LinkState::Degraded : LinkState::Good;
}

ExchangeCounters LinkHealth::totals() const {
  ExchangeCounters t;
  for (const ExchangeCounters& c : counters_) {
    t.requests += c.requests;
    t.answers += c.answers;
    t.timeouts += c.timeouts;
    t.wrongEcho += c.wrongEcho;
    t.outOfStep += c.outOfStep;
    t.lineLost += c.lineLost;
    t.droppedBytes += c.droppedBytes;
    t.shortBlocks += c.shortBlocks;
    t.surplusBlocks += c.surplusBlocks;
  }
  return t;
}

std::string LinkHealth::summary() const {
  std::string out;
  char line[200];
  for (std::size_t k = 0; k < kExchangeKinds; ++k) {
    const ExchangeCounters& c = counters_[k];
    if (c.requests == 0 && c.droppedBytes == 0) {
      continue;
    }
    std::snprintf(line, sizeof line,
                  "%s: %llu requests, %llu answers, %llu time-outs, %llu wrong echo, %llu out of "
                  "step, %llu line lost, %llu bytes dropped, %llu short, %llu surplus\n",
                  nameOf(static_cast<ExchangeKind>(k)), (unsigned long long)c.requests,
                  (unsigned long long)c.answers, (unsigned long long)c.timeouts,
                  (unsigned long long)c.wrongEcho, (unsigned long long)c.outOfStep,
                  (unsigned long long)c.lineLost, (unsigned long long)c.droppedBytes,
                  (unsigned long long)c.shortBlocks, (unsigned long long)c.surplusBlocks);
    out += line;
  }
  return out.empty() ? "no exchange yet\n" : out;
}

std::string formatEvent(const LineEvent& event) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &event.calendar);
#else
  localtime_r(&event.calendar, &local);
#endif
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%+.3f s", event.seconds);
  std::string line = std::string(stamp) + "  " + seconds + "  " + event.text;
  if (event.count > 1) {
    line += " (x" + std::to_string(event.count) + ")";
  }
  return line;
}

std::string LinkHealth::logText() const {
  std::string out;
  for (const LineEvent& e : events_) {
    out += formatEvent(e) + "\n";
  }
  return out;
}

}  // namespace qrix::link
