// The link health on its own: the state the indicator shows after a run of exchange outcomes
// (the 1 % rule at its boundary, the window of the last 100, a lost and reopened line), which
// counter each outcome counts, the log keeping its newest 500 events and a run of one failure as
// one line with its count, and the summary naming only the exchange kinds that were used.

#include "qrix/link/link_health.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace qrix::link {
namespace {

struct Step {
  enum What { Exchanges, Lost, Opened } what = Exchanges;
  Outcome outcome = Outcome::Answered;
  int times = 1;
};

Step ok(int times = 1) {
  return {Step::Exchanges, Outcome::Answered, times};
}
Step failed(Outcome outcome = Outcome::TimedOut) {
  return {Step::Exchanges, outcome, 1};
}
const Step kLost{Step::Lost};
const Step kOpened{Step::Opened};

LinkState stateAfter(const std::vector<Step>& steps) {
  LinkHealth health;
  for (const Step& s : steps) {
    if (s.what == Step::Lost) {
      health.lineLost();
    }
    if (s.what == Step::Opened) {
      health.lineOpened();
    }
    if (s.what == Step::Exchanges) {
      for (int i = 0; i < s.times; ++i) {
        health.record(ExchangeKind::Run, s.outcome);
      }
    }
  }
  return health.state();
}

TEST(LinkHealth, StateFollowsTheLastExchangeTheLast100AndTheLine) {
  struct Case {
    const char* what;
    std::vector<Step> steps;
    LinkState state;
  };
  const Case cases[] = {
      {"nothing yet", {}, LinkState::Unknown},
      {"one answer", {ok()}, LinkState::Good},
      {"a write awaits no answer and fails nothing",
       {{Step::Exchanges, Outcome::NotAwaited, 3}},
       LinkState::Good},
      {"last timed out", {ok(50), failed(Outcome::TimedOut)}, LinkState::Failed},
      {"last had a wrong echo", {ok(50), failed(Outcome::WrongEcho)}, LinkState::Failed},
      {"last out of step", {ok(50), failed(Outcome::OutOfStep)}, LinkState::Failed},
      {"last lost the line", {ok(50), failed(Outcome::LineLost)}, LinkState::Failed},
      {"one failure in the last 100 is 1 %", {ok(), failed(), ok(98)}, LinkState::Good},
      {"two failures in the last 100 are more",
       {failed(), ok(), failed(), ok(97)},
       LinkState::Degraded},
      {"the older failure slides out at the 101st",
       {failed(), ok(), failed(), ok(98)},
       LinkState::Good},
      {"two failures among three", {failed(), failed(), ok()}, LinkState::Degraded},
      {"lost outranks good answers", {ok(10), kLost}, LinkState::Failed},
      {"lost before any exchange", {kLost}, LinkState::Failed},
      {"reopened: the exchanges count again", {ok(10), kLost, kOpened}, LinkState::Good},
      {"reopened before any exchange", {kLost, kOpened}, LinkState::Unknown},
      {"an answer after a reopened line", {failed(), kLost, kOpened, ok()}, LinkState::Good},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(stateAfter(c.steps), c.state) << c.what;
  }
}

TEST(LinkHealth, EachOutcomeCountsARequestAndItsOwnCounterForItsKindOnly) {
  struct Case {
    Outcome outcome;
    std::uint64_t ExchangeCounters::*counter;  // null: none besides the request
  };
  const Case cases[] = {
      {Outcome::Answered, &ExchangeCounters::answers},
      {Outcome::TimedOut, &ExchangeCounters::timeouts},
      {Outcome::WrongEcho, &ExchangeCounters::wrongEcho},
      {Outcome::OutOfStep, &ExchangeCounters::outOfStep},
      {Outcome::LineLost, &ExchangeCounters::lineLost},
      {Outcome::NotAwaited, nullptr},
  };
  const std::uint64_t ExchangeCounters::*all[] = {
      &ExchangeCounters::answers,     &ExchangeCounters::timeouts,
      &ExchangeCounters::wrongEcho,   &ExchangeCounters::outOfStep,
      &ExchangeCounters::lineLost,    &ExchangeCounters::droppedBytes,
      &ExchangeCounters::shortBlocks, &ExchangeCounters::surplusBlocks};
  for (const Case& c : cases) {
    LinkHealth health;
    health.record(ExchangeKind::Teach, c.outcome);
    health.record(ExchangeKind::Teach, c.outcome);
    const ExchangeCounters& teach = health.counters(ExchangeKind::Teach);
    EXPECT_EQ(teach.requests, 2u) << nameOf(c.outcome);
    for (auto field : all) {
      EXPECT_EQ(teach.*field, field == c.counter ? 2u : 0u) << nameOf(c.outcome);
    }
    EXPECT_EQ(health.counters(ExchangeKind::Reset).requests, 0u) << nameOf(c.outcome);
  }

  LinkHealth health;
  health.droppedBytes(ExchangeKind::Run, 7);
  health.droppedBytes(ExchangeKind::Run, 5);
  health.shortBlock(ExchangeKind::Block);
  health.surplusBlock(ExchangeKind::Block);
  health.surplusBlock(ExchangeKind::Block);
  health.record(ExchangeKind::Run, Outcome::Answered);
  health.record(ExchangeKind::Block, Outcome::TimedOut);
  EXPECT_EQ(health.counters(ExchangeKind::Run).droppedBytes, 12u);
  EXPECT_EQ(health.counters(ExchangeKind::Block).shortBlocks, 1u);
  EXPECT_EQ(health.counters(ExchangeKind::Block).surplusBlocks, 2u);
  const ExchangeCounters totals = health.totals();
  EXPECT_EQ(totals.requests, 2u);
  EXPECT_EQ(totals.answers, 1u);
  EXPECT_EQ(totals.timeouts, 1u);
  EXPECT_EQ(totals.droppedBytes, 12u);
  EXPECT_EQ(totals.surplusBlocks, 2u);
}

TEST(LinkHealth, LogKeepsTheNewest500EventsOldestFirst) {
  LinkHealth health;
  for (int i = 0; i <= 500; ++i) {
    health.log(1'800'000'000 + i, 0.5 * i, "event " + std::to_string(i));
  }
  ASSERT_EQ(health.events().size(), LinkHealth::kLogEvents);
  EXPECT_EQ(health.events().front().text, "event 1");
  EXPECT_EQ(health.events().back().text, "event 500");

  const std::string text = health.logText();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 500);
  const std::string first = text.substr(0, text.find('\n'));
  EXPECT_TRUE(
      std::regex_match(first, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  \+0\.500 s  event 1)")))
      << first;
  EXPECT_TRUE(text.ends_with("  +250.000 s  event 500\n"));
}

// Logged as the program does: the exchange counted first, then its failure logged.
void failedAndLogged(LinkHealth& health, Outcome outcome, double seconds, const char* text) {
  health.record(ExchangeKind::Run, outcome);
  health.log(1'800'000'000 + static_cast<std::time_t>(seconds), seconds, text);
}

TEST(LinkHealth, ARunOfOneFailureIsOneLineWithItsCountAndTheTimeOfItsLatest) {
  LinkHealth health;
  health.log(1'800'000'000, 1.0, "opened COM1 at 19200 baud 8N1");
  for (int i = 0; i < 458; ++i) {
    failedAndLogged(health, Outcome::OutOfStep, 2.0 + 0.25 * i, "RUN: out of step");
  }
  ASSERT_EQ(health.events().size(), 2u);
  EXPECT_EQ(health.events().front().text, "opened COM1 at 19200 baud 8N1");
  EXPECT_EQ(health.events().back().count, 458u);
  EXPECT_EQ(health.events().back().calendar, 1'800'000'116);
  EXPECT_TRUE(health.logText().ends_with("  +116.250 s  RUN: out of step (x458)\n"))
      << health.logText();

  // Another failure starts a line of its own, and so does the same one after an answer.
  failedAndLogged(health, Outcome::TimedOut, 117.0, "RUN: time-out");
  health.record(ExchangeKind::Run, Outcome::Answered);
  failedAndLogged(health, Outcome::TimedOut, 118.0, "RUN: time-out");
  ASSERT_EQ(health.events().size(), 4u);
  const std::string text = health.logText();
  EXPECT_EQ(health.events()[2].count, 1u);
  EXPECT_EQ(health.events()[3].count, 1u);
  EXPECT_TRUE(text.ends_with("  +118.000 s  RUN: time-out\n")) << text;
  EXPECT_EQ(text.find("(x1)"), std::string::npos) << text;
}

TEST(LinkHealth, SummaryNamesOnlyTheKindsUsed) {
  LinkHealth health;
  EXPECT_EQ(health.summary(), "no exchange yet\n");
  health.record(ExchangeKind::Run, Outcome::Answered);
  health.record(ExchangeKind::Run, Outcome::TimedOut);
  health.droppedBytes(ExchangeKind::LineCheck, 3);
  const std::string summary = health.summary();
  EXPECT_NE(summary.find("line check: 0 requests"), std::string::npos) << summary;
  EXPECT_NE(summary.find("3 bytes dropped"), std::string::npos) << summary;
  EXPECT_NE(summary.find("RUN: 2 requests, 1 answers, 1 time-outs"), std::string::npos) << summary;
  EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 2) << summary;
}

}  // namespace
}  // namespace qrix::link
