// Start-up against the simulated sensor pair on the virtual clock: the order and spacing of the
// identification requests, their payloads, a failed line check, and the simulator's own entry
// in the port list. What identification takes from the answers is in identification_test.

#include <gtest/gtest.h>

#include "sensor_link/port_setup.h"
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

// A failed line check ends the sequence: nothing after it is requested, the panels keep their
// defaults.
TEST(StartupTraffic, AFailedLineCheckEndsTheSequence) {
  sim::Faults silent, wrongSync;
  silent.silent = true;
  wrongSync.wrongSync = true;
  struct Case {
    sim::Faults faults;
    const char* status;
    double took;
  } cases[] = {{silent, "Timeout-RS-232...", 1.5},
               {wrongSync, "read error - not sync byte 0xAA!", 0.04}};
  for (const Case& c : cases) {
    Scope s({}, c.faults);
    ASSERT_EQ(s.start(), 0);
    EXPECT_EQ(s.commands(), (std::vector<std::uint16_t>{5}));
    EXPECT_EQ(s.status(), c.status);
    EXPECT_NEAR(s.rt.Timer(), c.took, 0.02);
    EXPECT_EQ(s.ui().GetCtrlVal(s.p.st.pPara1, ids::sensor::SLIDEpower), 500);
  }
}

// A machine without serial devices, as the scope composes its ports: the simulator is reached
// only by "--port sim" or its own entry in the port list, never by a number or the default.
// (It once took port 1, and a start without hardware reported "Line Ok!".)
TEST(StartupTraffic, TheSimulatorIsNeverAPortNumber) {
  struct Case {
    const char* port;  // the --port value; empty: the default
    const char* status;
  } cases[] = {{"", "No serial port found"},
               {"1", "No serial port found"},
               {"0", "Invalid port number"},
               {"/dev/does-not-exist", "No serial port found"},
               {"sim", "QRIX FW 3.05 sim"}};
  for (const Case& c : cases) {
    Scope s;
    s.sensor->setFirmwareText("QRIX FW 3.05 sim");
    s.rt.serial().setPorts({});
    s.rt.serial().addPort(serial::kSimDevice, "SIM  simulated sensor pair");
    StartOptions options;
    if (*c.port) {
      options.port = portOfArgument(s.rt.serial(), c.port);
    }
    ASSERT_EQ(StartUp(s.p, options), 0);
    EXPECT_EQ(s.status(), c.status) << c.port;
    EXPECT_EQ(s.requests().empty(), std::string(c.port) != "sim") << c.port;
  }
}

TEST(StartupTraffic, ThePortListOffersTheSimulatorUnderItsOwnEntry) {
  Scope s;
  s.rt.serial().setPorts({});
  s.rt.serial().addPort(serial::kSimDevice, "SIM  simulated sensor pair");
  ASSERT_EQ(s.start(), 0);
  const ui::Control* list = s.ui().control(s.p.st.pHandle, ids::main::DropDCom);
  ASSERT_EQ(list->items.size(), 1u);
  EXPECT_EQ(list->items[0].label, "SIM  simulated sensor pair");
  EXPECT_LT(list->items[0].value, 1);  // below every port number
  s.ui().SetCtrlVal(s.p.st.pHandle, ids::main::DropDCom, list->items[0].value);
  s.commit(s.p.st.pHandle, ids::main::DropDCom);
  EXPECT_EQ(s.commands(), (std::vector<std::uint16_t>{5, 10, 2, 2, 2, 7}));
}

}  // namespace
}  // namespace qrix::testing
