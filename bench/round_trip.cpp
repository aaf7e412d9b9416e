// Round trip through the real serial backend: line-check exchanges (one 36-byte request, one
// 36-byte answer) with qrix-sensor-sim over a pseudo-terminal, pacing at 19200 baud with no
// reaction time. Printed as exchanges per second and as a fraction of the line limit
// (72 bytes of 10 bits at 19200 baud: 26.7 exchanges per second).

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "sensor_link/identification.h"
#include "sim_session.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  qrix::bench::SimSession session("round trip");
  if (!session.ok()) {
    return 1;
  }
  qrix::Program& p = session.program();

  constexpr int kExchanges = 100;
  qrix::CheckComLine(p);  // settle the line
  int answered = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kExchanges; ++i) {
    answered += qrix::CheckComLine(p);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double limit = 19200.0 / (10.0 * 72.0);
  const double rate = answered / seconds;
  std::printf(
      "round trip: %d/%d answered, %.1f exchanges/s = %.3f of the line limit %.1f/s "
      "(target >= 0.95)\n",
      answered, kExchanges, rate, rate / limit, limit);
  return answered == kExchanges ? 0 : 1;
}
