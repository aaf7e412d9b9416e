#pragma once
// A whole scope on the headless runtime, talking over the in-process line to a simulated
// sensor pair; the virtual clock runs seconds of protocol time in milliseconds.

#include <memory>
#include <string>
#include <vector>

#include "program/panel_table.h"
#include "program/program.h"
#include "qrix/sim/sensor_pair.hpp"
#include "runtime/headless/headless_runtime.h"
#include "shell/startup.h"
#include "support/scripted_device.h"

namespace qrix::testing {

// The program's folder a Scope runs in unless a test gives its own; nothing is written there.
#ifdef _WIN32
inline constexpr const char* kScopeProgramDir = "C:\\qrix";
#else
inline constexpr const char* kScopeProgramDir = "/tmp";
#endif

class Scope {
 public:
  explicit Scope(sim::HardwareInfo hw = {}, sim::Faults faults = {},
                 std::string programDir = kScopeProgramDir);

  // Start-up as the program does it, on port 1 (the simulated pair behind COM1).
  int start();
  // Start-up without the port set-up step.
  int startOffline();

  // User actions, dispatched the way the view delivers them.
  void click(int panel, int control);  // left-click, then commit
  void commit(int panel, int control);
  void setValue(int panel, int control, double value);  // value changed
  void rightClick(int panel, int control);
  // A commit that reaches the callback even when the control is dimmed, as a refused action
  // must be refused by the callback too.
  void commitPastDimming(int panel, int control);

  ui::UiModel& ui() { return rt.ui(); }
  std::string status() { return ui().GetCtrlText(p.st.pHandle, ids::main::TEXTStatus); }
  const std::vector<sim::RequestRecord>& requests() const { return sensor->requests(); }
  std::vector<std::uint16_t> commands() const;
  // Port 1 answers through a hand-written responder instead of the simulator.
  void useResponder(Responder responder) { responder_ = std::move(responder); }
  // What the simulated pair sends back for `request`, for a responder that changes some answers.
  std::vector<std::uint8_t> simulatorAnswer(const std::vector<std::uint8_t>& request);

  // Pulls the cable of the line port 1 opened last.
  void unplug() {
    if (line_) {
      line_->fail();
    }
  }

  std::shared_ptr<sim::SensorPair> sensor;
  HeadlessRuntime rt;
  Program p;

 private:
  Responder responder_;
  serial::TimedInputDevice* line_ = nullptr;  // owned by the serial library while open
};

}  // namespace qrix::testing
