// A single RUN request and the 64-word block reads of the sensor's four buffers, with every
// failure: no RUN answer, a short block, extra bytes, and a block request on the wire.

#include "link/block_reads.h"

#include <gtest/gtest.h>

#include "link/transport.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

class BlockReads : public ::testing::Test {
 protected:
  void startWith(sim::Faults faults = {}) {
    s = std::make_unique<Scope>(sim::HardwareInfo{}, sim::Faults{});
    ASSERT_EQ(s->start(), 0);
    s->sensor->setFaults(faults);
  }
  // The caller of ReadData64 switches the notification off and empties both queues first.
  void rawMode() {
    removeReceiveNotification(s->p, s->p.st.com);
    discardQueues(s->p, Discard::ForFrameExchange);
  }
  std::unique_ptr<Scope> s;
};

TEST_F(BlockReads, RunRequestIsAnsweredWithSixteenWords) {
  startWith();
  EXPECT_EQ(PushGETRAW(s->p), 1);
  EXPECT_EQ(s->commands().back(), 8);
  EXPECT_EQ(s->status(), "Line Ok!");
  EXPECT_EQ(s->p.st.graph_flag, 1);
}

TEST_F(BlockReads, SilentSensorEndsTheRunRequestWithTimeoutAndStop) {
  sim::Faults silent;
  silent.silent = true;
  startWith(silent);
  s->p.st.stop_flag = 0;
  const double t0 = s->rt.Timer();
  EXPECT_EQ(PushGETRAW(s->p), 0);
  EXPECT_NEAR(s->rt.Timer() - t0, 1.5, 0.01);
  EXPECT_EQ(s->status(), "Timeout RS232-Line!");
  EXPECT_EQ(s->p.st.stop_flag, 1);
}

TEST_F(BlockReads, TwoBlocksFillTheSlaveVideoBufferInOrder) {
  startWith();
  rawMode();
  s->p.st.adcbufB.fill(0xFFFF);
  EXPECT_EQ(ReadData64(s->p, 0, kSlaveVideo), 1);
  EXPECT_EQ(s->status(), "Data[64] block received!");
  EXPECT_EQ(ReadData64(s->p, 64, kSlaveVideo), 1);
  const auto& r = s->requests().back();
  EXPECT_EQ(r.command, 9);
  EXPECT_EQ(r.argument, 64);
  EXPECT_EQ(r.payload[0], 1);
  for (int i = 1; i < 15; ++i) EXPECT_EQ(r.payload[static_cast<size_t>(i)], 0);
  // A video signal holds no 0xFFFF: every element was replaced, and the shadow of the object
  // makes it uneven.
  const auto& buf = s->p.st.adcbufB;
  EXPECT_EQ(std::count(buf.begin(), buf.end(), 0xFFFF), 0);
  EXPECT_NE(*std::min_element(buf.begin(), buf.end()), *std::max_element(buf.begin(), buf.end()));
}

TEST_F(BlockReads, ShortBlockTimesOutAndStoresNothing) {
  sim::Faults shortBlock;
  shortBlock.shortBlock = true;
  startWith(shortBlock);
  rawMode();
  s->p.st.mvalBUFA.fill(7);
  const double t0 = s->rt.Timer();
  EXPECT_EQ(ReadData64(s->p, 0, kMasterData), 0);
  EXPECT_GT(s->rt.Timer() - t0, 1.5);
  EXPECT_EQ(s->status(), "Timeout-RS-232 while reading 64 data-words!");
  for (auto w : s->p.st.mvalBUFA) EXPECT_EQ(w, 7);
}

TEST(BlockReadsScripted, MoreThan128BytesAtOnceDropTheBlockAndKeepTheStatus) {
  Scope s;
  s.useResponder([](const std::vector<std::uint8_t>& request) {
    return request[3] == 9 ? std::vector<std::uint8_t>(130, 0x11) : std::vector<std::uint8_t>{};
  });
  ASSERT_EQ(s.startOffline(), 0);
  ASSERT_EQ(s.rt.serial().OpenComConfig(1, "", 19200, 0, 8, 1, 4096, 4096), 0);
  s.p.setStatus("before");
  s.p.st.mvalBUFB.fill(7);
  EXPECT_EQ(ReadData64(s.p, 64, kSlaveData), 0);
  EXPECT_EQ(s.status(), "before");
  for (auto w : s.p.st.mvalBUFB) EXPECT_EQ(w, 7);
  EXPECT_EQ(s.rt.serial().GetInQLen(s.p.st.com), 0);
}

TEST_F(BlockReads, WaitingTextNamesTheBlock) {
  startWith();
  rawMode();
  std::vector<std::string> seen;
  // The waiting text is visible while the block is on its way.
  s->rt.at(s->rt.Timer() + 0.01, [&] { seen.push_back(s->status()); });
  ReadData64(s->p, 64, kMasterVideo);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], "Waiting for Data[64] Block 1 ...");
}

TEST_F(BlockReads, StartIndexPastTheBufferStoresNothing) {
  startWith();
  rawMode();
  s->p.st.adcbufA.fill(3);
  EXPECT_EQ(ReadData64(s->p, 100, kMasterVideo), 0);
  for (auto w : s->p.st.adcbufA) EXPECT_EQ(w, 3);
}

}  // namespace
}  // namespace qrix::testing
