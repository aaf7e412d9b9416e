// The one wait of every exchange on a line whose answers a test spoils: each way a frame or a
// block goes wrong is counted and logged as itself, and as nothing else.

#include "program/transport.h"

#include <gtest/gtest.h>

#include "qrix/link/commands.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace m = ids::main;
using link::ExchangeCounters;
using link::ExchangeKind;

// The simulated pair, except for the answers of one command, which `spoil` replaces.
class SpoiledLine : public ::testing::Test {
 protected:
  void SetUp() override {
    s.useResponder([this](const std::vector<std::uint8_t>& request) {
      std::vector<std::uint8_t> bytes = s.simulatorAnswer(request);
      if (spoiled && request[3] == spoiledCommand) {
        return *spoiled;
      }
      return bytes;
    });
    ASSERT_EQ(s.start(), 0);
  }
  void spoil(std::uint16_t command, std::vector<std::uint8_t> answer) {
    spoiledCommand = static_cast<std::uint8_t>(command);
    spoiled = std::move(answer);
  }
  const ExchangeCounters& counters(ExchangeKind kind) { return s.p.st.health.counters(kind); }
  const link::LineEvent& lastEvent() { return s.p.st.health.events().back(); }

  Scope s;
  std::uint8_t spoiledCommand = 0;
  std::optional<std::vector<std::uint8_t>> spoiled;
};

// A frame in step for another command, and 36 bytes without the sync word.
TEST_F(SpoiledLine, AWrongEchoAndAFrameOutOfStepAreEachCountedAndLoggedAsThemselves) {
  std::vector<std::uint8_t> otherEcho(36, 0x11);
  otherEcho[0] = 0x00, otherEcho[1] = 0xAA, otherEcho[2] = 0x00, otherEcho[3] = cmd::kLineCheck;
  std::vector<std::uint8_t> noSync = otherEcho;
  noSync[1] = 0xAB, noSync[3] = cmd::kReadRam;
  const struct {
    const char* what;
    std::vector<std::uint8_t> answer;
    std::uint64_t wrongEcho, outOfStep;
    const char* logged;
  } cases[] = {
      {"wrong echo", otherEcho, 3, 0, "parameter read: wrong echo"},
      {"out of step", noSync, 0, 3, "parameter read: out of step"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ExchangeCounters before = counters(ExchangeKind::ParameterRead);
    spoil(cmd::kReadRam, c.answer);
    s.click(s.p.st.pHandle, m::BTNGet);
    const ExchangeCounters& after = counters(ExchangeKind::ParameterRead);
    EXPECT_EQ(after.requests - before.requests, 3u);
    EXPECT_EQ(after.wrongEcho - before.wrongEcho, c.wrongEcho);
    EXPECT_EQ(after.outOfStep - before.outOfStep, c.outOfStep);
    EXPECT_EQ(after.timeouts - before.timeouts, 0u);
    EXPECT_EQ(after.answers - before.answers, 0u);
    EXPECT_EQ(lastEvent().text, c.logged);
    EXPECT_EQ(lastEvent().count, 3u);
  }
}

// A block that never came is a time-out; one that came short is a time-out and a short block.
TEST_F(SpoiledLine, ABlockThatNeverCameIsATimeOutAndNotAShortBlock) {
  const struct {
    const char* what;
    std::size_t bytes;
    std::uint64_t shortBlocks;
  } cases[] = {{"nothing", 0, 0}, {"127 bytes", 127, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ExchangeCounters before = counters(ExchangeKind::Block);
    spoil(cmd::kReadBlock, std::vector<std::uint8_t>(c.bytes, 0x42));
    s.click(s.p.st.pHandle, m::BTNData);  // the first block fails, and the pass ends
    const ExchangeCounters& after = counters(ExchangeKind::Block);
    EXPECT_EQ(after.requests - before.requests, 1u);
    EXPECT_EQ(after.timeouts - before.timeouts, 1u);
    EXPECT_EQ(after.shortBlocks - before.shortBlocks, c.shortBlocks);
    EXPECT_EQ(after.surplusBlocks - before.surplusBlocks, 0u);
    EXPECT_EQ(lastEvent().text, "data block: time-out");
  }
}

}  // namespace
}  // namespace qrix::testing
