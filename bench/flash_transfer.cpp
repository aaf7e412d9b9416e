// The external-flash transfer through the real serial backend: one clear frame and 256 write
// frames, each awaiting its answer, against qrix-sensor-sim over a pseudo-terminal, pacing at
// 19200 baud with no reaction time, with the progress bar drawn by the Qt view. Printed as the
// line limit (257 exchanges of 72 bytes of 10 bits: 9.64 s) over the measured time, and CPU
// time over wall time.

#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "child_process.h"
#include "linearisation/xflash.h"
#include "link/transport.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/qt/qt_serial_device.h"
#include "shell/panel_table.h"
#include "shell/program.h"
#include "shell/startup.h"

namespace {

double cpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  qrix::testing::ChildProcess sim(QRIX_SENSOR_SIM_PATH, {"--reaction", "0"});
  const std::string device = sim.readStdoutLine(5);
  if (device.empty()) {
    std::printf("flash transfer: the simulator did not start\n");
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

  // The table as a file would give it; the transfer runs without the file dialog.
  for (std::size_t i = 0; i < p.st.linArray.size(); ++i)
    p.st.linArray[i] = static_cast<std::uint16_t>(i * 31);
  const double cpuStart = cpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  const bool complete = qrix::transferTable(p, qrix::kXFlashMaster);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = cpuSeconds() - cpuStart;
  const double limit = 257 * 72 * 10 / 19200.0;
  std::printf(
      "flash transfer: %s in %.2f s = %.3f of the line limit %.2f s (target >= 0.95); "
      "cpu/wall %.3f\n",
      complete ? "complete" : "INCOMPLETE", seconds, limit / seconds, limit, cpu / seconds);
  qrix::ShutDown(p);
  return complete ? 0 : 1;
}
