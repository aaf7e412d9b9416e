// The external-flash transfer through the real serial backend: one clear frame and 256 write
// frames, each awaiting its answer, against qrix-sensor-sim over a pseudo-terminal, pacing at
// 19200 baud with no reaction time, with the progress bar drawn by the Qt view. Printed as the
// line limit (257 exchanges of 72 bytes of 10 bits: 9.64 s) over the measured time, and CPU
// time over wall time.

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "linearisation/xflash.h"
#include "sim_session.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  qrix::bench::SimSession session("flash transfer");
  if (!session.ok()) {
    return 1;
  }
  qrix::Program& p = session.program();

  // The table as a file would give it; the transfer runs without the file dialog.
  for (std::size_t i = 0; i < p.st.linArray.size(); ++i) {
    p.st.linArray[i] = static_cast<std::uint16_t>(i * 31);
  }
  const double cpuStart = qrix::bench::cpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  const bool complete = qrix::transferTable(p, qrix::kXFlashMaster).complete;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = qrix::bench::cpuSeconds() - cpuStart;
  const double limit = 257 * 72 * 10 / 19200.0;
  std::printf(
      "flash transfer: %s in %.2f s = %.3f of the line limit %.2f s (target >= 0.95); "
      "cpu/wall %.3f\n",
      complete ? "complete" : "INCOMPLETE", seconds, limit / seconds, limit, cpu / seconds);
  return complete ? 0 : 1;
}
