// Start-up time: from the start of the process to the main window shown, drawn off screen, with
// the serial step skipped. Printed as seconds and as a fraction of the 0.3 s target.

#include "shell/startup.h"

#include <unistd.h>

#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "program/panel_table.h"
#include "program/program.h"
#include "runtime/qt/qt_runtime.h"

namespace {

// Seconds since the kernel started this process.
double processAge() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 22; ++i) {
    fields >> field;  // field 22: start time in clock ticks
  }
  const double startTicks = std::stod(field);
  double uptime = 0;
  std::ifstream("/proc/uptime") >> uptime;
  return uptime - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

bool mainWindowShown() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->accessibleName() == "pHandle" && w->isVisible()) {
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  qrix::QtRuntime rt([](int id) { return qrix::panelTemplate(id); });
  qrix::Program program(rt);
  qrix::StartOptions options;
  options.portSetup = [](qrix::Program&) {};
  if (qrix::StartUp(program, options) != 0) {
    return 1;
  }
  for (int i = 0; i < 1000 && !mainWindowShown(); ++i) {
    rt.ProcessSystemEvents();
  }
  const double seconds = processAge();
  if (!mainWindowShown()) {
    std::printf("start-up: main window never shown\n");
    return 1;
  }
  // The process age is counted in clock ticks (10 ms on Linux).
  std::printf("start-up: %.3f s to the main window (%.2f of the 0.3 s target, +-0.01 s)\n", seconds,
              seconds / 0.3);
  qrix::ShutDown(program);
  return 0;
}
