// Round trip through the real serial backend: line-check exchanges (one 36-byte request, one
// 36-byte answer) with qrix-sensor-sim over a pseudo-terminal, pacing at 19200 baud with no
// reaction time. Printed as exchanges per second and as a fraction of the line limit
// (72 bytes of 10 bits at 19200 baud: 26.7 exchanges per second).

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "child_process.h"
#include "link/identification.h"
#include "link/transport.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/qt/qt_serial_device.h"
#include "shell/panel_table.h"
#include "shell/program.h"
#include "shell/startup.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  qrix::testing::ChildProcess sim(QRIX_SENSOR_SIM_PATH, {"--reaction", "0"});
  const std::string device = sim.readStdoutLine(5);
  if (device.empty()) {
    std::printf("round trip: the simulator did not start\n");
    return 1;
  }

  qrix::QtRuntime rt([](int id) { return qrix::panelTemplate(id); });
  const int port = rt.serial().addPort(device, device);
  rt.serial().setOpener(qrix::qt::openQtSerialDevice);
  qrix::Program p(rt);
  qrix::StartOptions options;
  options.port = port;
  options.portSetup = [](qrix::Program& prog) {
    prog.serial().OpenComConfig(prog.st.com, "", 19200, 0, 8, 1, 4096, 4096);
    qrix::installReceiveNotification(prog, prog.st.com);
  };
  if (qrix::StartUp(p, options) != 0) return 1;

  constexpr int kExchanges = 100;
  qrix::CheckComLine(p);  // settle the line
  int answered = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kExchanges; ++i) answered += qrix::CheckComLine(p);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double limit = 19200.0 / (10.0 * 72.0);
  const double rate = answered / seconds;
  std::printf(
      "round trip: %d/%d answered, %.1f exchanges/s = %.3f of the line limit %.1f/s "
      "(target >= 0.95)\n",
      answered, kExchanges, rate, rate / limit, limit);
  qrix::ShutDown(p);
  return answered == kExchanges ? 0 : 1;
}
