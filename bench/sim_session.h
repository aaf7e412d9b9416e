#pragma once
// What the benchmarks against the simulator share: qrix-sensor-sim on a pseudo-terminal with no
// reaction time, and the scope on the Qt backend with the device opened at 19200 baud and the
// receive notification installed (the identification is skipped). A QApplication must exist.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "child_process.h"
#include "cpu_time.h"
#include "program/program.h"
#include "runtime/qt/qt_runtime.h"

namespace qrix::bench {

class SimSession {
 public:
  // Installs the receive notification on the open port; the default is the program's own.
  using Notification = std::function<void(Program&)>;

  // `name` opens the line printed when the simulator or the start-up fails.
  // `simArgs` go to the simulator after its own (faults such as --noise).
  explicit SimSession(const std::string& name, Notification notification = {},
                      std::vector<std::string> simArgs = {});
  ~SimSession();
  SimSession(const SimSession&) = delete;
  SimSession& operator=(const SimSession&) = delete;

  bool ok() const { return ok_; }
  Program& program() { return *program_; }
  testing::ChildProcess& simulator() { return sim_; }

 private:
  testing::ChildProcess sim_;
  std::unique_ptr<QtRuntime> rt_;
  std::unique_ptr<Program> program_;
  bool ok_ = false;
};

}  // namespace qrix::bench
