// RUN through the real serial backend against qrix-sensor-sim over a pseudo-terminal, on a clean
// line and on one with random bytes ahead of every answer (--noise): RUN answers per second as
// a fraction of the line's 26.7 per second (target >= 0.97 on the clean line). The noise takes
// line time of its own (about 3 bytes per answer), so the noisy line is also given against its
// own limit.

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "display/run_cycle.h"
#include "sim_session.h"

namespace {

constexpr double kLineAnswersPerSecond = 19200.0 / 10.0 / 72.0;  // 36 bytes each way
constexpr double kNoiseBytesPerAnswer = 3.0;                     // the simulator's --noise
constexpr int kRunMs = 6000;

struct Rate {
  int answers = 0;
  double seconds = 0;
  std::uint64_t dropped = 0;
};

Rate measure(const std::vector<std::string>& simArgs) {
  qrix::bench::SimSession session("run rate", {}, simArgs);
  if (!session.ok()) {
    return {};
  }
  qrix::Program& p = session.program();
  const auto& health = p.st.health;
  const auto answers = [&health] { return health.counters(qrix::link::ExchangeKind::Run).answers; };
  const std::uint64_t before = answers();
  const auto start = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point stop;
  QTimer::singleShot(kRunMs, Qt::PreciseTimer, [&p, &stop] {
    stop = std::chrono::steady_clock::now();
    qrix::CC_BTNStop(p, p.st.pHandle, qrix::ids::main::BTNStop, qrix::ui::EVENT_COMMIT);
  });
  qrix::PushRUN(p);
  return {static_cast<int>(answers() - before), std::chrono::duration<double>(stop - start).count(),
          health.totals().droppedBytes};
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  const Rate clean = measure({});
  const Rate noisy = measure({"--noise"});
  if (clean.seconds <= 0 || noisy.seconds <= 0) {
    return 1;
  }
  const double cleanRate = clean.answers / clean.seconds;
  const double noisyRate = noisy.answers / noisy.seconds;
  const double noisyLimit = 19200.0 / 10.0 / (72.0 + kNoiseBytesPerAnswer);
  std::printf(
      "run rate, clean line: %d answers in %.2f s = %.2f/s = %.3f of the line's %.1f/s "
      "(target >= 0.97)\n",
      clean.answers, clean.seconds, cleanRate, cleanRate / kLineAnswersPerSecond,
      kLineAnswersPerSecond);
  std::printf(
      "run rate, --noise: %d answers in %.2f s = %.2f/s = %.3f of the clean line's "
      "limit, %.3f of the noisy line's %.1f/s; %llu noise bytes dropped\n",
      noisy.answers, noisy.seconds, noisyRate, noisyRate / kLineAnswersPerSecond,
      noisyRate / noisyLimit, noisyLimit, static_cast<unsigned long long>(noisy.dropped));
  return 0;
}
