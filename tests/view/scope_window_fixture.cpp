#include "scope_window_fixture.h"

#include "program/panel_table.h"
#include "shell/startup.h"
#include "sim_line/sim_line_device.h"

namespace qrix::test {

ScopeWindowTest::ScopeWindowTest(Line line)
    : runtime([](int id) { return panelTemplate(id); }), program(runtime) {
  StartOptions options;
  if (line == Line::SimulatedPair) {
    runtime.serial().setPorts({{1, serial::kSimDevice, "SIM  simulated sensor pair"}});
    runtime.serial().setOpener([this](const serial::PortEntry&, const serial::OpenSettings&,
                                      serial::OpenError&) {
      return std::make_unique<serial::SimLineDevice>(sensor, [this] { return runtime.Timer(); });
    });
  } else {
    options.portSetup = [](Program&) {};  // no serial line: the window alone
  }
  EXPECT_EQ(StartUp(program, options), 0);
  runtime.ProcessSystemEvents();
}

ScopeWindowTest::~ScopeWindowTest() {
  ShutDown(program);
}

}  // namespace qrix::test
