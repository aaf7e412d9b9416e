// GET and SEND against the simulated sensor on the virtual clock: commands, arguments, payloads
// and spacing on the wire, RAM versus EEPROM, a silent sensor, and a RUN answer that arrives
// while a GET waits.

#include "params/get_send.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "program/frame_codec.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

class GetSend : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.start(), 0); }
  std::vector<sim::RequestRecord> since(size_t n) {
    return {s.requests().begin() + static_cast<std::ptrdiff_t>(n), s.requests().end()};
  }
  Scope s;
  ProgramState& st = s.p.st;
};

TEST_F(GetSend, SendWritesThreeFramesATenthOfASecondApartToRamOrEeprom) {
  struct Case {
    int radio;
    std::uint16_t command, ramNow, ramAfterPowerCycle;  // the master's power in the sensor
  } cases[] = {{ids::main::RBTRam, 1, 701, 500}, {ids::main::RBTEeprom, 3, 500, 703}};
  for (const Case& c : cases) {
    s.setValue(st.pHandle, c.radio, 1);
    s.ui().SetCtrlVal(st.pPara1, ids::sensor::SLIDEpower, 700 + c.command);
    const size_t before = s.requests().size();
    s.click(st.pHandle, ids::main::BTNSend);
    s.rt.runUntil(s.rt.Timer() + 0.1);
    auto sent = since(before);
    ASSERT_EQ(sent.size(), 3u);
    for (std::uint16_t n = 0; n < 3; ++n) {
      EXPECT_EQ(sent[n].command, c.command);
      EXPECT_EQ(sent[n].argument, n);
    }
    EXPECT_NEAR(sent[1].time - sent[0].time, 0.1, 0.005);
    EXPECT_NEAR(sent[2].time - sent[1].time, 0.1, 0.005);
    EXPECT_EQ(s.sensor->ram(1)[0], c.ramNow);
    EXPECT_EQ(s.status(), "Line Ok!");
    s.sensor->powerCycle();
    EXPECT_EQ(s.sensor->ram(1)[0], c.ramAfterPowerCycle);
  }
}

TEST_F(GetSend, GetFromEepromReadsTheStoredFramesWithFrameZeroAsPayload) {
  auto frame = s.sensor->eeprom(1);
  frame[0] = 321;
  s.sensor->setEeprom(1, frame);
  s.setValue(st.pHandle, ids::main::RBTEeprom, 1);
  st.parameter.sys.toleranceUP = 222;
  const size_t before = s.requests().size();
  s.click(st.pHandle, ids::main::BTNGet);
  auto sent = since(before);
  ASSERT_EQ(sent.size(), 3u);
  for (std::uint16_t n = 0; n < 3; ++n) {
    EXPECT_EQ(sent[n].command, 4);
    EXPECT_EQ(sent[n].argument, n);
  }
  EXPECT_EQ(sent[0].payload[7], 222);  // a request carries frame 0 as it is now
  EXPECT_EQ(st.parameter.master.power, 321);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara1, ids::sensor::SLIDEpower), 321);
  EXPECT_EQ(s.status(), "Parameter-frame received! - Line Ok!");
}

TEST_F(GetSend, SilentSensorTimesOutThreeTimesThenRewritesThePanels) {
  sim::Faults silent;
  silent.silent = true;
  s.sensor->setFaults(silent);
  s.ui().SetCtrlVal(st.pPara1, ids::sensor::SLIDEpower, 999);  // an edit not yet sent
  const double t0 = s.rt.Timer();
  const size_t before = s.requests().size();
  s.click(st.pHandle, ids::main::BTNGet);
  auto sent = since(before);
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_NEAR(sent[1].time - sent[0].time, 1.6, 0.01);
  EXPECT_NEAR(sent[2].time - sent[1].time, 1.6, 0.01);
  EXPECT_NEAR(s.rt.Timer() - t0, 4.8, 0.03);
  EXPECT_EQ(s.status(), "Timeout-RS-232...");
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara1, ids::sensor::SLIDEpower), st.parameter.master.power);
}

// A parameter answer does not say which frame it answers. Once a frame has timed out, a late
// answer to it would be taken for the next frame (frame 0's first word as the master's power),
// and a SEND to EEPROM would then write it into the sensor: no later frame of the GET is stored.
TEST_F(GetSend, AfterATimeoutNoLaterFrameOfTheGetIsStored) {
  const auto markRecord = [&] {
    st.parameter.sys.toleranceUP = 111;
    st.parameter.master.power = 222;
    st.parameter.slave.power = 333;
  };
  const auto stored = [&] {
    return std::vector<bool>{st.parameter.sys.toleranceUP == s.sensor->ram(0)[7],
                             st.parameter.master.power == s.sensor->ram(1)[0],
                             st.parameter.slave.power == s.sensor->ram(2)[0]};
  };
  const auto keptMarks = [&] {
    return std::vector<bool>{st.parameter.sys.toleranceUP == 111, st.parameter.master.power == 222,
                             st.parameter.slave.power == 333};
  };

  // Every answer 1.7 s late: frame 0 times out, its answer lands in frame 1's wait.
  sim::Faults late;
  late.extraDelay = 1.7;
  s.sensor->setFaults(late);
  markRecord();
  size_t before = s.requests().size();
  s.click(st.pHandle, ids::main::BTNGet);
  EXPECT_EQ(since(before).size(), 3u);  // the requests still go out
  EXPECT_EQ(keptMarks(), std::vector<bool>(3, true));
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara1, ids::sensor::SLIDEpower), 222);
  EXPECT_EQ(s.status(), "Timeout-RS-232...");

  // Only every second request answered: whichever frame times out first, the frames stored are
  // exactly those before it, and both alternations come round in two GETs.
  sim::Faults sparse;
  sparse.answerEvery = 2;
  s.sensor->setFaults(sparse);
  s.rt.runUntil(s.rt.Timer() + 2.0);  // the late answers have drained
  std::vector<std::vector<bool>> outcomes;
  for (int get = 0; get < 2; ++get) {
    markRecord();
    s.click(st.pHandle, ids::main::BTNGet);
    const std::vector<bool> got = stored(), kept = keptMarks();
    const auto firstLost = std::find(got.begin(), got.end(), false) - got.begin();
    for (std::ptrdiff_t n = 0; n < 3; ++n) {
      EXPECT_EQ(kept[n], n >= firstLost) << get << n;
    }
    EXPECT_EQ(s.status(), "Timeout-RS-232...");
    outcomes.push_back(got);
  }
  EXPECT_NE(outcomes[0], outcomes[1]);
}

TEST_F(GetSend, RunAnswerArrivingDuringGetIsNotTakenAsParameters) {
  // A RUN request goes out just before GET, as it would inside a running RUN loop.
  const std::uint16_t powerBefore = s.sensor->ram(1)[0];
  s.rt.post([&] {
    FillTxBuf(st, 8, 0, st.pp);
    s.rt.serial().ComWrt(st.com, st.szWriteBuf.data(), 36);
  });
  s.p.pump();
  // The sensor answers the RUN request while PushGET waits for frame 1.
  bool answered = PushGET(s.p, 1, 1);
  EXPECT_TRUE(answered);
  EXPECT_EQ(st.parameter.master.power, powerBefore);
  EXPECT_EQ(st.parameter.master.pixEnd, s.sensor->ram(1)[5]);
}

// The answer to frame 1 arrives behind three stray bytes, the tail of an answer cut by a flush:
// taken as a frame, its words would be shifted by a byte and a half.
TEST(GetSendOutOfStep, AShiftedFrameIsNotTakenAsParameters) {
  Scope s;
  s.useResponder([](const std::vector<std::uint8_t>& request) {
    if (request[3] == 7) {
      return std::vector<std::uint8_t>(72, 'v');
    }
    std::vector<std::uint8_t> answer(36, 0);
    answer[1] = 0xAA;
    answer[3] = request[3];
    for (int i = 6; i < 36; i += 2) {
      answer[i + 1] = 77;  // every word of the frame: 77
    }
    if (request[3] == 2 && request[5] == 1) {
      answer.insert(answer.begin(), {0x12, 0x34, 0x56});
    }
    answer.resize(36);
    return answer;
  });
  ASSERT_EQ(s.start(), 0);
  s.click(s.p.st.pHandle, ids::main::BTNGet);
  EXPECT_EQ(s.p.st.parameter.sys.spare[0], 77);  // frame 0 came in step
  EXPECT_EQ(s.p.st.parameter.master.power, ParameterRecord{}.master.power);
  EXPECT_EQ(s.status(), "Timeout-RS-232...");
}

TEST_F(GetSend, RadioButtonsKeepExactlyOneTargetOn) {
  s.setValue(st.pHandle, ids::main::RBTFile, 1);
  EXPECT_EQ(st.target, 3);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pHandle, ids::main::RBTRam), 0);
  s.setValue(st.pHandle, ids::main::RBTFile, 0);
  EXPECT_EQ(st.target, 1);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pHandle, ids::main::RBTRam), 1);
  s.setValue(st.pHandle, ids::main::RBTRam, 0);
  EXPECT_EQ(st.target, 1);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pHandle, ids::main::RBTRam), 1);
}

}  // namespace
}  // namespace qrix::testing
