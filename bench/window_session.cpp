#include "window_session.h"

#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "cpu_time.h"
#include "program/panel_table.h"
#include "runtime/qt/qt_serial_device.h"
#include "shell/startup.h"

namespace qrix::bench {

namespace {

int requestsLogged(const std::string& log) {
  int n = 0;
  for (size_t at = log.find("request cmd="); at != std::string::npos;
       at = log.find("request cmd=", at + 1)) {
    ++n;
  }
  return n;
}

}  // namespace

void useDisplayOrOffscreen(const char* name) {
  for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* v = std::getenv(var);
    if (v && *v) {
      return;
    }
  }
  std::printf("%s: no display, drawing off screen (run it under xvfb-run for a real one)\n", name);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

WindowSession::WindowSession(const std::string& name, Route route)
    : sim_(QRIX_SENSOR_SIM_PATH, {"--reaction", "0"}) {
  const std::string simDevice = sim_.readStdoutLine(5);
  if (simDevice.empty()) {
    std::printf("%s: the simulator did not start\n", name.c_str());
    return;
  }
  const std::string device = route ? route(simDevice) : simDevice;
  rt_ = std::make_unique<QtRuntime>([](int id) { return panelTemplate(id); });
  const int port = rt_->serial().addPort(device, device);
  rt_->serial().setOpener(qt::openQtSerialDevice);
  program_ = std::make_unique<Program>(*rt_);
  StartOptions options;
  options.port = port;  // the scope's own port set-up and identification
  ok_ = StartUp(*program_, options) == 0 && program_->st.lineChecked;
  if (!ok_) {
    std::printf("%s: the scope did not identify the simulator\n", name.c_str());
    return;
  }
  // Let the window come up before anything is measured.
  for (int i = 0; i < 50; ++i) {
    rt_->ProcessSystemEvents();
  }
}

WindowSession::~WindowSession() {
  if (program_) {
    ShutDown(*program_);
  }
}

WindowSession::Run WindowSession::run(double warmUp, double seconds) {
  Run r;
  const int before = requestsLogged(sim_.stderrSoFar(0));
  Clock::time_point start;
  double cpuStart = 0;
  QTimer begin, end;
  for (QTimer* t : {&begin, &end}) {
    t->setSingleShot(true);
    t->setTimerType(Qt::PreciseTimer);
  }
  QObject::connect(&begin, &QTimer::timeout, [&] {
    start = Clock::now();
    cpuStart = cpuSeconds();
    end.start(static_cast<int>(seconds * 1000));
  });
  QObject::connect(&end, &QTimer::timeout, [&] {
    r.wall = secondsSince(start);
    r.cpu = cpuSeconds() - cpuStart;
    Program& p = *program_;
    p.ui().dispatch(p.st.pHandle, ids::main::BTNStop, ui::EVENT_COMMIT);
  });
  begin.start(static_cast<int>(warmUp * 1000));
  Program& p = *program_;
  // Returns when STOP has ended the loop.
  p.ui().dispatch(p.st.pHandle, ids::main::BTNRun, ui::EVENT_COMMIT);
  r.requests = requestsLogged(sim_.stderrSoFar(0.2)) - before;
  return r;
}

}  // namespace qrix::bench
