// A single RUN request and the 64-word block reads of the sensor's four buffers: the request on
// the wire, the waiting text, and the blocks that store nothing (a start past the buffer, more
// than 128 bytes). A silent sensor is met by RUN (run_cycle_test), a short block by DATA
// (block_transfers_test).

#include "services/block_reads.h"

#include <gtest/gtest.h>

#include "program/transport.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

TEST(BlockReads, RunRequestIsAnsweredWithSixteenWords) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(PushGETRAW(s.p), 1);
  EXPECT_EQ(s.commands().back(), 8);
  EXPECT_EQ(s.status(), "Line Ok!");
  EXPECT_EQ(s.p.st.graph_flag, 1);
}

TEST(BlockReads, TwoBlocksFillTheSlaveVideoBufferInOrderAndAStartPastTheBufferStoresNothing) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;
  // The caller of ReadData64 switches the notification off and empties both queues first.
  removeReceiveNotification(s.p, st.com);
  discardQueues(s.p, Discard::InputFirst);
  st.adcbufB.fill(0xFFFF);
  EXPECT_EQ(ReadData64(s.p, 0, kSlaveVideo), 1);
  EXPECT_EQ(s.status(), "Data[64] block received!");
  std::vector<std::string> seen;  // the waiting text, while the block is on its way
  s.rt.at(s.rt.Timer() + 0.01, [&] { seen.push_back(s.status()); });
  EXPECT_EQ(ReadData64(s.p, 64, kSlaveVideo), 1);
  EXPECT_EQ(seen, std::vector<std::string>{"Waiting for Data[64] Block 1 ..."});
  const auto& r = s.requests().back();
  EXPECT_EQ(r.command, 9);
  EXPECT_EQ(r.argument, 64);
  EXPECT_EQ(r.payload[0], 1);
  for (int i = 1; i < 15; ++i) {
    EXPECT_EQ(r.payload[static_cast<size_t>(i)], 0);
  }
  // A video signal holds no 0xFFFF: every element was replaced, and the shadow of the object
  // makes it uneven.
  const auto& buf = st.adcbufB;
  EXPECT_EQ(std::count(buf.begin(), buf.end(), 0xFFFF), 0);
  EXPECT_NE(*std::min_element(buf.begin(), buf.end()), *std::max_element(buf.begin(), buf.end()));

  st.adcbufA.fill(3);
  EXPECT_EQ(ReadData64(s.p, 100, kMasterVideo), 0);
  EXPECT_EQ(std::count(st.adcbufA.begin(), st.adcbufA.end(), 3), 128);
}

TEST(BlockReads, MoreThan128BytesAtOnceDropTheBlockAndKeepTheStatus) {
  Scope s;
  s.useResponder([](const std::vector<std::uint8_t>& request) {
    return request[3] == 9 ? std::vector<std::uint8_t>(130, 0x11) : std::vector<std::uint8_t>{};
  });
  ASSERT_EQ(s.startOffline(), 0);
  ASSERT_EQ(s.rt.serial().OpenComConfig(1, "", 19200, 0, 8, 1, 4096, 4096), 0);
  s.p.storeStatusText("before");
  s.p.st.mvalBUFB.fill(7);
  EXPECT_EQ(ReadData64(s.p, 64, kSlaveData), 0);
  EXPECT_EQ(s.status(), "before");
  EXPECT_EQ(std::count(s.p.st.mvalBUFB.begin(), s.p.st.mvalBUFB.end(), 7), 128);
  EXPECT_EQ(s.rt.serial().GetInQLen(s.p.st.com), 0);
}

}  // namespace
}  // namespace qrix::testing
