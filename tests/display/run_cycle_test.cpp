// RUN against the simulated pair on the virtual clock: the request/answer rhythm and its
// payload, STOP, the two time-outs, frames of other exchanges released into RUN (RESET, TEACH),
// and the refusal of a second loop inside a running one.

#include "display/run_cycle.h"

#include <gtest/gtest.h>

#include "services/run_exchange.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace m = ids::main;

class RunCycle : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.start(), 0); }
  void startWith(sim::Faults faults) { s.sensor->setFaults(faults); }
  // Runs RUN from now, with STOP pressed `stopAfter` seconds later.
  void run(double stopAfter) {
    t0 = s.rt.Timer();
    first = s.requests().size();
    s.rt.at(t0 + stopAfter, [this] { s.click(st.pHandle, m::BTNStop); });
    s.click(st.pHandle, m::BTNRun);
  }
  std::vector<sim::RequestRecord> sent(std::uint16_t command) const {
    std::vector<sim::RequestRecord> out;
    for (size_t i = first; i < s.requests().size(); ++i) {
      if (s.requests()[i].command == command) {
        out.push_back(s.requests()[i]);
      }
    }
    return out;
  }
  bool dimmed(int panel, int control) { return s.ui().IsDimmed(panel, control); }

  Scope s;
  ProgramState& st = s.p.st;
  double t0 = 0;
  size_t first = 0;
};

TEST_F(RunCycle, ExchangesFramesUntilStopWithFrameZeroAsItIsNow) {
  s.sensor->setPotentiometer(77);
  s.sensor->setInputState(5);
  s.rt.at(s.rt.Timer() + 0.5, [this] { st.parameter.sys.toleranceUP = 333; });
  run(1.0);
  const auto runs = sent(8);
  // One request per answer: at 19200 baud an exchange takes at least 37.5 ms.
  ASSERT_GE(runs.size(), 20u);
  EXPECT_LE(runs.size(), 27u);
  for (size_t i = 1; i < runs.size(); ++i) {
    EXPECT_GE(runs[i].time - runs[i - 1].time, 0.0375);
  }
  EXPECT_NE(runs.front().payload[7], 333);
  EXPECT_EQ(runs.back().payload[7], 333);
  EXPECT_EQ(st.poti, 77);
  EXPECT_EQ(st.instate, 5);
  // STOP pauses 0.2 s before the loop sees the flag; the click itself waits at most for the
  // rest of the answer coming in (16 ms).
  EXPECT_NEAR(s.rt.Timer() - (t0 + 1.0), 0.2, 0.02);
  EXPECT_EQ(st.rx_flag, 0);
  EXPECT_EQ(st.graph_flag, 0);
  EXPECT_FALSE(dimmed(st.pHandle, m::BTNRun));
  EXPECT_FALSE(dimmed(st.pPopUp, ids::popup::BTNStartRecord));
  EXPECT_TRUE(s.ui().IsVisible(st.pHandle, m::GRAPHRaw));
  EXPECT_FALSE(s.ui().IsVisible(st.pHandle, m::GRAPHVideoMaster));
}

TEST_F(RunCycle, NoSensorEndsAfterTheFirstWaitAndLeavesStartRecordDimmed) {
  sim::Faults silent;
  silent.silent = true;
  startWith(silent);
  const double start = s.rt.Timer();
  s.click(st.pHandle, m::BTNRun);
  EXPECT_NEAR(s.rt.Timer() - start, 1.5, 0.01);
  EXPECT_EQ(s.status(), "Timeout RS232-Line!");
  EXPECT_FALSE(dimmed(st.pHandle, m::BTNRun));
  EXPECT_TRUE(dimmed(st.pPopUp, ids::popup::BTNStartRecord));
}

TEST_F(RunCycle, SensorFallingSilentEndsRunThreeSecondsAfterTheLastRequest) {
  sim::Faults hangUp;
  hangUp.hangUpAfter = 10;
  startWith(hangUp);
  run(60.0);
  const auto runs = sent(8);
  ASSERT_FALSE(runs.empty());
  // The sensor logs a request once its 36 bytes have arrived, 18.75 ms after the write.
  EXPECT_NEAR(s.rt.Timer() - runs.back().time, 3.0 - 0.01875, 0.005);
  EXPECT_EQ(s.status(), "Timeout RS232-Line!");
}

// RESET's flush cuts the RUN answer in flight; the cut tail and RESET's answer then arrive out
// of step with the frames. RUN must get back in step and draw the answers that follow.
TEST_F(RunCycle, ResetDuringRunIsAnsweredByTheNextFrameAndRunGoesOn) {
  s.rt.at(s.rt.Timer() + 0.5, [this] { s.click(st.pHandle, m::ButtonReset); });
  s.rt.at(s.rt.Timer() + 0.8, [this] { s.sensor->setPotentiometer(88); });
  run(1.2);
  const auto resets = sent(11);
  ASSERT_EQ(resets.size(), 1u);
  EXPECT_GT(sent(8).back().time, resets[0].time);
  EXPECT_EQ(s.status(), "Reset Max/Min OK!");
  EXPECT_EQ(st.poti, 88);
}

// The pump that waits for an answer wakes for its first byte and once or twice more, not for
// each byte nor on every heartbeat of a quiet line: each wake-up costs the window CPU time.
TEST_F(RunCycle, AnAnswerTakesAFewPumpsNotOneAByte) {
  const long before = s.rt.pumps();
  run(1.0);
  const double perAnswer = double(s.rt.pumps() - before) / double(sent(8).size());
  EXPECT_LE(perAnswer, 6.0);
}

TEST_F(RunCycle, FramesWithoutTheSyncWordAreNotDrawnAndTheUserSeesWhy) {
  sim::Faults wrongSync;
  wrongSync.wrongSync = true;
  startWith(wrongSync);
  run(1.0);
  EXPECT_EQ(s.status(), "read error - not sync byte 0xAA!");
  EXPECT_EQ(s.ui().GetCtrlVal(st.pHandle, m::NUMAval), 0);
}

TEST_F(RunCycle, TeachWithoutAnswerDuringRunEndsRun) {
  s.rt.at(s.rt.Timer() + 0.5, [this] {
    sim::Faults silent;
    silent.silent = true;
    s.sensor->setFaults(silent);
  });
  // After the answer still on its way when the sensor fell silent: TEACH takes any frame.
  s.rt.at(s.rt.Timer() + 0.6, [this] { s.click(st.pHandle, m::ButtonTeach); });
  run(60.0);
  EXPECT_EQ(sent(6).size(), 1u);
  EXPECT_TRUE(sent(2).empty());
  EXPECT_EQ(st.stop_flag, 1);
  EXPECT_LT(s.rt.Timer() - t0, 3.0);
}

TEST_F(RunCycle, VideoDataOrAnotherRunNeverStartInsideRun) {
  s.rt.at(s.rt.Timer() + 0.3, [this] {
    s.click(st.pHandle, m::BTNData);
    s.click(st.pHandle, m::BTNVideo);
    PushRUN(s.p);
  });
  run(1.0);
  EXPECT_TRUE(sent(9).empty());
  // The nested RUN would have ended only by its own STOP; the outer one stopped on time.
  EXPECT_NEAR(s.rt.Timer() - (t0 + 1.0), 0.2, 0.02);
}

TEST(RunValues, MicrometreValueJoinsWordsThreeAndFourAsSigned32Bits) {
  Scope s;
  ASSERT_EQ(s.startOffline(), 0);
  const struct {
    std::uint16_t low, high;
    std::int32_t um;
  } cases[] = {{0, 1, 65536}, {1, 0, 1}, {0xFA24, 0xFFFF, -1500}};
  for (const auto& c : cases) {
    s.p.st.pp[3] = c.low;
    s.p.st.pp[4] = c.high;
    s.p.st.pp[12] = 1111;
    s.p.st.pp[13] = 2222;
    CopyPPtoRAWVars(s.p);
    EXPECT_EQ(s.p.st.umValue, c.um);
    // The teach values travel with every answer, so a later SEND sends them.
    EXPECT_EQ(s.p.st.parameter.master.teach, 1111);
    EXPECT_EQ(s.p.st.parameter.slave.teach, 2222);
  }
}

}  // namespace
}  // namespace qrix::testing
