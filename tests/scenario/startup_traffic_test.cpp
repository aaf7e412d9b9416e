// Start-up against the simulated sensor pair on the virtual clock: the order and spacing of the
// identification requests, their payloads, and the status texts of a healthy, a silent and a
// misbehaving sensor.

#include <gtest/gtest.h>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

using ids::main::TEXTStatus;

TEST(StartupTraffic, IdentifiesTheSensorInTheFixedOrderWithPausesBetweenSteps) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.commands(), (std::vector<std::uint16_t>{5, 10, 2, 2, 2, 7}));
  const auto& r = s.requests();
  EXPECT_EQ(r[2].argument, 0);
  EXPECT_EQ(r[3].argument, 1);
  EXPECT_EQ(r[4].argument, 2);
  // Each step follows the previous answer after a pause of 0.1 s: the gap between two requests
  // is the pause plus one exchange (two frames at 19200 baud) plus the sensor's reaction.
  for (size_t i = 1; i < r.size(); ++i) {
    const double gap = r[i].time - r[i - 1].time;
    EXPECT_GT(gap, 0.1 + 0.037) << "request " << i;
    EXPECT_LT(gap, 0.1 + 0.060) << "request " << i;
  }
  // The line check carries frame 0 as payload.
  EXPECT_EQ(r[0].payload[0], s.p.st.parameter.sys.evalmode);
  EXPECT_EQ(r[0].payload[13], 16000);
}

TEST(StartupTraffic, EndsOnTheFirmwareTextAndTakesTheSensorsFrames) {
  Scope s;
  s.sensor->setFirmwareText("QRIX FW 3.05 sim");
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.status(), "QRIX FW 3.05 sim");
  EXPECT_EQ(s.p.st.szVersion, "QRIX FW 3.05 sim");
  EXPECT_EQ(s.p.st.parameter.slave.teach, s.sensor->ram(2)[3]);
  EXPECT_EQ(s.p.st.softversion, 305);
  EXPECT_EQ(s.p.st.ADCMAX, 1024);
}

TEST(StartupTraffic, SilentLineStopsAfterTheLineCheckWithTheTimeoutText) {
  sim::Faults silent;
  silent.silent = true;
  Scope s({}, silent);
  const double before = s.rt.Timer();
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.commands(), (std::vector<std::uint16_t>{5}));
  EXPECT_EQ(s.status(), "Timeout-RS-232...");
  EXPECT_NEAR(s.rt.Timer() - before, 1.5, 0.02);
  // The panels keep their defaults.
  EXPECT_EQ(s.ui().GetCtrlVal(s.p.st.pPara1, ids::sensor::SLIDEpower), 500);
}

TEST(StartupTraffic, WrongSyncWordSkipsIdentification) {
  sim::Faults wrong;
  wrong.wrongSync = true;
  Scope s({}, wrong);
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.commands(), (std::vector<std::uint16_t>{5}));
  EXPECT_EQ(s.status(), "read error - not sync byte 0xAA!");
}

TEST(StartupTraffic, MissingPortReportsTheOpenError) {
  Scope s;
  s.rt.serial().setPorts({{1, "/dev/does-not-exist", "COM1"}});
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.status(), "No serial port found");
  EXPECT_TRUE(s.requests().empty());
}

}  // namespace
}  // namespace qrix::testing
