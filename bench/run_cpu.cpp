// CPU of the scope's real window during RUN at the line's rate: the main window identified
// against qrix-sensor-sim over a pseudo-terminal, RUN pressed, and the CPU time of the whole
// process over the wall time in the middle of the run, as a fraction of one core (target at
// most 0.04). Also prints the answers per second, so that a low figure cannot come from a RUN
// that fell behind the line, and the replots per answer of the raw chart and the bar graphs.
// Then the same with the statistics window open (target at most 0.035).
// Run it under xvfb-run to draw on a display.

#include <qcustomplot.h>

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <optional>

#include "window_session.h"

namespace {

constexpr double kWarmUpSeconds = 1.0;
constexpr double kMeasuredSeconds = 5.0;
constexpr int kRounds = 3;
constexpr double kTarget = 0.04;
constexpr double kTargetWithStatistics = 0.035;
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
  struct Figure {
    double share = 0, rate = 0;
    int requests = 0;
  };
  const auto measure = [&session](const char* label) -> std::optional<Figure> {
    double wall = 0, cpu = 0, runSeconds = 0;
    int requests = 0;
    for (int round = 0; round < kRounds; ++round) {
      const auto r = session.run(kWarmUpSeconds, kMeasuredSeconds);
      if (r.wall <= 0) {
        std::printf("run cpu: RUN ended before it was measured\n");
        return std::nullopt;
      }
      std::printf("run cpu%s: round %d: %.3f of a core\n", label, round + 1, r.cpu / r.wall);
      wall += r.wall;
      cpu += r.cpu;
      runSeconds += kWarmUpSeconds + r.wall;
      requests += r.requests;
    }
    return Figure{cpu / wall, requests / runSeconds, requests};
  };
  const std::optional<Figure> plain = measure("");
  if (!plain) {
    return 1;
  }
  std::printf(
      "run cpu: %.3f of a core during RUN (target <= %.2f) at %.1f answers/s (%.2f of the line's "
      "%.1f/s); replots per answer: raw chart %.2f, each bar graph %.2f; window repaints per "
      "answer %.2f\n",
      plain->share, kTarget, plain->rate, plain->rate / kLineAnswersPerSecond,
      kLineAnswersPerSecond, double(rawReplots) / plain->requests,
      double(barReplots) / 2 / plain->requests, double(repaints.count) / plain->requests);
  // The statistics window open beside the main window: its figures and histogram follow the
  // answers five times a second.
  p.ui().dispatch(p.st.pHandle, qrix::ids::main::BTNStatistics, qrix::ui::EVENT_COMMIT);
  const std::optional<Figure> withStatistics = measure(" with statistics");
  if (!withStatistics) {
    return 1;
  }
  std::printf(
      "run cpu: %.3f of a core during RUN with the statistics window open (target <= %.3f) at "
      "%.1f answers/s (%.2f of the line's); %.2f of the figure without it\n",
      withStatistics->share, kTargetWithStatistics, withStatistics->rate,
      withStatistics->rate / kLineAnswersPerSecond, withStatistics->share / plain->share);
  return 0;
}
