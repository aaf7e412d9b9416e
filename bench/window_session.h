#pragma once
// What the RUN display benchmarks share: the scope's main window as a user has it (on the
// display when there is one), identified in full against qrix-sensor-sim on a pseudo-terminal
// with no reaction time, and RUN pressed and stopped as the buttons do it. A QApplication must
// exist.

#include <functional>
#include <memory>
#include <string>

#include "child_process.h"
#include "program/program.h"
#include "runtime/qt/qt_runtime.h"

namespace qrix::bench {

// Draws off screen, and says so, when there is no display to draw on. Call before the
// QApplication exists.
void useDisplayOrOffscreen(const char* name);

class WindowSession {
 public:
  // Gives the device the scope opens for the simulator's (a relay in between, say).
  using Route = std::function<std::string(const std::string& simulatorDevice)>;

  // `name` opens the line printed when the simulator or the start-up fails.
  explicit WindowSession(const std::string& name, Route route = {});
  ~WindowSession();
  WindowSession(const WindowSession&) = delete;
  WindowSession& operator=(const WindowSession&) = delete;

  bool ok() const { return ok_; }
  Program& program() { return *program_; }
  QtRuntime& runtime() { return *rt_; }

  struct Run {
    double wall = 0;   // seconds measured, after the warm-up
    double cpu = 0;    // CPU seconds of this process in them
    int requests = 0;  // RUN requests the simulator logged, the warm-up included
  };
  // Presses RUN, measures from `warmUp` seconds on for `seconds`, then presses STOP.
  Run run(double warmUp, double seconds);

 private:
  testing::ChildProcess sim_;
  std::unique_ptr<QtRuntime> rt_;
  std::unique_ptr<Program> program_;
  bool ok_ = false;
};

}  // namespace qrix::bench
