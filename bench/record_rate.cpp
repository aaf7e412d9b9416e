// Recording at interval 0 through the real serial backend against qrix-sensor-sim over a
// pseudo-terminal: samples written per second, against the RUN answers per second of a plain RUN
// in the same run. Recording adds only a line to the file per answer, so the two should match
// (target >= 0.95). Also prints the CPU time of the recording as a fraction of its wall time.

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

#include "display/run_cycle.h"
#include "program/transport.h"
#include "recorder/recorder_buttons.h"
#include "sim_session.h"

namespace {

constexpr int kRounds = 4;
constexpr int kPhaseMs = 2500;

struct Phase {
  double seconds = 0;
  double cpuSeconds = 0;
  Phase& operator+=(const Phase& o) {
    seconds += o.seconds;
    cpuSeconds += o.cpuSeconds;
    return *this;
  }
};

// Runs a loop for kPhaseMs, then presses STOP, whose pause lets the answer still under way
// arrive and be discarded, so that the next loop starts on a quiet line. The phase ends when
// STOP is pressed.
template <typename Loop>
Phase timed(qrix::Program& p, Loop loop) {
  const std::clock_t cpu = std::clock();
  const auto start = std::chrono::steady_clock::now();
  std::optional<std::chrono::steady_clock::time_point> stop;
  // A timer of the phase's own, so that a loop ending early never has the next one stopped.
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, [&p, &stop] {
    stop = std::chrono::steady_clock::now();
    qrix::CC_BTNStop(p, p.st.pHandle, qrix::ids::main::BTNStop, qrix::ui::EVENT_COMMIT);
  });
  timer.start(kPhaseMs);
  loop();
  const auto end = stop.value_or(std::chrono::steady_clock::now());
  return {std::chrono::duration<double>(end - start).count(),
          static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC};
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  qrix::bench::SimSession session("record rate");
  if (!session.ok()) {
    return 1;
  }
  qrix::Program& p = session.program();
  // The RUN answers drawn, as the link health counts them.
  const auto runAnswers = [&p] {
    return static_cast<int>(p.st.health.counters(qrix::link::ExchangeKind::Run).answers);
  };

  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("qrix-record-rate-" + std::to_string(getpid()) + ".dat");
  p.st.rec_fname = file.string();
  p.ui().SetCtrlVal(p.st.pPopUp, qrix::ids::popup::NEDITRecTime, 0);
  p.ui().SetCtrlVal(p.st.pPopUp, qrix::ids::popup::NEDITRecSamples, 65535);

  // RUN and recording take turns, so that a change in the machine's load meets both alike.
  Phase run, rec;
  int answers = 0, samples = 0;
  for (int round = 0; round < kRounds; ++round) {
    const int before = runAnswers();
    run += timed(p, [&p] { qrix::PushRUN(p); });
    answers += runAnswers() - before;
    rec += timed(p, [&p, &samples] { samples += qrix::runRecording(p); });
    session.simulator().stderrSoFar(0);  // the server's request log must not fill its pipe
  }
  std::filesystem::remove(file);

  const double runRate = answers / run.seconds;
  const double recRate = samples / rec.seconds;
  std::printf(
      "record rate: RUN %d answers in %.2f s = %.1f/s; recording %d samples in %.2f s = %.1f/s; "
      "ratio %.3f (target >= 0.95); recording CPU/wall %.3f\n",
      answers, run.seconds, runRate, samples, rec.seconds, recRate,
      runRate > 0 ? recRate / runRate : 0.0, rec.cpuSeconds / rec.seconds);
  return 0;
}
