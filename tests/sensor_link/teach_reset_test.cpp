// TEACH and RESET against the simulated pair: the frames on the wire, the read-back after a
// teach, the cursors, a silent sensor, and an answer that lands in the pass of the time-out.

#include "sensor_link/teach_reset.h"

#include <gtest/gtest.h>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

namespace m = ids::main;

class TeachReset : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.start(), 0); }
  std::vector<sim::RequestRecord> since(size_t n) const {
    return {s.requests().begin() + static_cast<std::ptrdiff_t>(n), s.requests().end()};
  }
  void silence() {
    sim::Faults silent;
    silent.silent = true;
    s.sensor->setFaults(silent);
  }
  const ui::GraphCursor& cursor1(int graph) {
    return s.ui().control(st.pHandle, graph)->graph.cursors[0];
  }
  Scope s;
  ProgramState& st = s.p.st;
};

TEST_F(TeachReset, TeachSendsFrameZeroThenReadsTheThreeFramesBack) {
  s.ui().SetCtrlVal(st.pPara0, ids::para0::NUMToleranceUP, 77);
  const size_t before = s.requests().size();
  s.click(st.pHandle, m::ButtonTeach);
  const auto sent = since(before);
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_EQ(sent[0].command, 6);
  EXPECT_EQ(sent[0].payload[7], 77);  // the record took the panels' values first
  for (std::uint16_t n = 0; n < 3; ++n) {
    EXPECT_EQ(sent[n + 1].command, 2);
    EXPECT_EQ(sent[n + 1].argument, n);
  }
  EXPECT_NEAR(sent[2].time - sent[1].time, 0.1 + 0.0395, 0.005);
  // The sensor took its current edges as the new teach values.
  EXPECT_EQ(st.parameter.master.teach, s.sensor->ram(1)[3]);
  EXPECT_EQ(st.parameter.slave.teach, s.sensor->ram(2)[3]);
  EXPECT_EQ(cursor1(m::GRAPHBarMaster).x, st.parameter.master.teach);
  EXPECT_EQ(cursor1(m::GRAPHBarSlave).x, st.parameter.slave.teach);
  EXPECT_EQ(cursor1(m::GRAPHBarSlave).y, 0.75);
  EXPECT_EQ(s.status(), "Parameter-frame received! - Line Ok!");
}

// The sensor acknowledges the teach at once, then answers the read-back 1.7 s late: frame 0
// times out and its late answer lands in frame 1's wait, where it must not be taken as the
// master's frame.
TEST_F(TeachReset, AReadBackFrameAfterATimeoutIsNotStored) {
  const double t0 = s.rt.Timer();
  s.rt.at(t0 + 0.025, [&] {  // after the teach request reached the sensor
    sim::Faults late;
    late.extraDelay = 1.7;
    s.sensor->setFaults(late);
  });
  s.ui().SetCtrlVal(st.pPara1, ids::sensor::SLIDEpower, 222);  // the teach reads the panels
  s.ui().SetCtrlVal(st.pPara2, ids::sensor::SLIDEpower, 333);
  const size_t before = s.requests().size();
  s.click(st.pHandle, m::ButtonTeach);
  EXPECT_EQ(since(before).size(), 4u);
  EXPECT_EQ(st.parameter.master.power, 222);
  EXPECT_EQ(st.parameter.slave.power, 333);
  EXPECT_EQ(s.status(), "Timeout-RS-232...");
}

TEST_F(TeachReset, SilentSensorTimesOutWithoutReadBack) {
  silence();
  st.parameter.master.teach = 1234;
  const size_t before = s.requests().size();
  const double t0 = s.rt.Timer();
  s.click(st.pHandle, m::ButtonTeach);
  EXPECT_NEAR(s.rt.Timer() - t0, 1.5, 0.01);
  EXPECT_EQ(since(before).size(), 1u);
  EXPECT_EQ(s.status(), "Timeout RS232-Line!");
  EXPECT_EQ(st.stop_flag, 1);
  EXPECT_EQ(cursor1(m::GRAPHBarMaster).x, s.ui().GetCtrlVal(st.pPara1, ids::sensor::NUMTeach));

  s.click(st.pHandle, m::ButtonReset);
  EXPECT_EQ(s.requests().back().command, 11);
  EXPECT_EQ(s.status(), "Timeout-RS-232...");
}

// The wait decides by the answer, not by the clock: an answer completed in the pass in which
// the clock passed 1.5 s still counts.
TEST_F(TeachReset, ResetAnswerLandingJustAfterTheTimeoutCounts) {
  double t0 = s.rt.Timer();
  ResetMaxMin(s.p);
  ASSERT_EQ(s.status(), "Reset Max/Min OK!");
  const double exchange = s.rt.Timer() - t0;
  sim::Faults late;
  late.extraDelay = 1.5 - exchange + 0.0003;
  s.sensor->setFaults(late);
  s.ui().SetCtrlText(st.pHandle, m::TEXTStatus, "");
  t0 = s.rt.Timer();
  ResetMaxMin(s.p);
  EXPECT_GT(s.rt.Timer() - t0, 1.5);
  EXPECT_EQ(s.status(), "Reset Max/Min OK!");
}

}  // namespace
}  // namespace qrix::testing
