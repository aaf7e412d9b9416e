// CPU of the scope's real window during RUN at the line's rate: the main window identified
// against qrix-sensor-sim over a pseudo-terminal, RUN pressed, and the CPU time of the whole
// process over the wall time in the middle of the run, as a fraction of one core (target at
// most 0.04). Also prints the answers per second, so that a low figure cannot come from a RUN
// that fell behind the line, and the replots per answer of the raw chart and the bar graphs.
// Run it under xvfb-run to draw on a display.

#include <qcustomplot.h>

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>

#include "window_session.h"

namespace {

constexpr double kWarmUpSeconds = 1.0;
constexpr double kMeasuredSeconds = 5.0;
constexpr int kRounds = 3;
constexpr double kTarget = 0.04;
constexpr double kLineAnswersPerSecond = 19200.0 / (10.0 * 72.0);

// Counts the repaints of the window: each one is a pass through the backing store and a flush
// to the display.
class RepaintCounter : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::UpdateRequest && o->isWidgetType() &&
        static_cast<QWidget*>(o)->isWindow()) {
      ++count;
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  qrix::bench::useDisplayOrOffscreen("run cpu");
  QApplication app(argc, argv);
  qrix::bench::WindowSession session("run cpu");
  if (!session.ok()) {
    return 1;
  }
  std::printf("run cpu: drawing on %s\n", qPrintable(QApplication::platformName()));
  qrix::Program& p = session.program();
  int rawReplots = 0, barReplots = 0;
  QObject::connect(session.runtime().view().plotWidget(p.st.pHandle, qrix::ids::main::GRAPHRaw),
                   &QCustomPlot::afterReplot, [&rawReplots] { ++rawReplots; });
  for (int bar : {qrix::ids::main::GRAPHBarMaster, qrix::ids::main::GRAPHBarSlave}) {
    QObject::connect(session.runtime().view().plotWidget(p.st.pHandle, bar),
                     &QCustomPlot::afterReplot, [&barReplots] { ++barReplots; });
  }
  RepaintCounter repaints;
  app.installEventFilter(&repaints);
  double wall = 0, cpu = 0, runSeconds = 0;
  int requests = 0;
  for (int round = 0; round < kRounds; ++round) {
    const auto r = session.run(kWarmUpSeconds, kMeasuredSeconds);
    if (r.wall <= 0) {
      std::printf("run cpu: RUN ended before it was measured\n");
      return 1;
    }
    std::printf("run cpu: round %d: %.3f of a core\n", round + 1, r.cpu / r.wall);
    wall += r.wall;
    cpu += r.cpu;
    runSeconds += kWarmUpSeconds + r.wall;
    requests += r.requests;
  }
  const double rate = requests / runSeconds;
  std::printf(
      "run cpu: %.3f of a core during RUN (target <= %.2f) at %.1f answers/s (%.2f of the line's "
      "%.1f/s); replots per answer: raw chart %.2f, each bar graph %.2f; window repaints per "
      "answer %.2f\n",
      cpu / wall, kTarget, rate, rate / kLineAnswersPerSecond, kLineAnswersPerSecond,
      double(rawReplots) / requests, double(barReplots) / 2 / requests,
      double(repaints.count) / requests);
  return 0;
}
