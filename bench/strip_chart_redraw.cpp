// The main window fed as RUN feeds it: per answer the raw strip chart's settings and its newest
// sample (the whole history of 700 values the first time), and the values and colours of two
// indicators. Prints how many model changes one replot of the strip chart folds, the CPU the
// view takes at the line's pace (one answer per 37.5 ms), and how many answers per second it
// absorbs fed flat out, as a fraction of the line limit (26.7 per second).

#include <qcustomplot.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cpu_time.h"
#include "program/panel_table.h"
#include "program/program.h"
#include "runtime/qt/qt_runtime.h"
#include "shell/startup.h"

namespace {

using qrix::bench::Clock;
using qrix::bench::cpuSeconds;
using qrix::bench::secondsSince;

using Clock = std::chrono::steady_clock;
using namespace qrix;

constexpr double kAnswerSeconds = 0.0375;  // one RUN exchange on the line
constexpr double kRunSeconds = 3.0;
constexpr int kTraces = 7;

class Feeder {
 public:
  explicit Feeder(Program& program) : program_(program), history_(kTraces * 100) {}

  // One RUN answer's worth of model changes; returns how many.
  int answer() {
    ui::UiModel& ui = program_.ui();
    const int panel = program_.st.pHandle;
    const int raw = ids::main::GRAPHRaw;
    ++count_;
    // Shift the history by one sample, the newest at the end.
    history_.erase(history_.begin(), history_.begin() + kTraces);
    for (int t = 0; t < kTraces; ++t) {
      history_.push_back(1000 + (count_ * (t + 1)) % 200);
    }
    int changes = 0;
    changes += ui.SetStripPointsPerScreen(panel, raw, 101) == ui::kOk;
    changes += ui.SetStripTraces(panel, raw, kTraces) == ui::kOk;
    for (int t = 1; t <= kTraces; ++t) {
      changes += ui.SetTraceColour(panel, raw, t, t == 7 ? ui::kBlue : ui::kRed) == ui::kOk;
    }
    changes += ui.SetAxisRange(panel, raw, ui::Axis::YLeft, 0, 2048) == ui::kOk;
    if (count_ == 1) {
      changes += ui.PlotStripChart(panel, raw, history_.data(),
                                   static_cast<int>(history_.size())) == ui::kOk;
    } else {
      changes += ui.PlotStripChartPoints(panel, raw, history_.data() + history_.size() - kTraces,
                                         kTraces) == ui::kOk;
    }
    for (int indicator : {ids::main::NUMMvalue, ids::main::NUMValueMM}) {
      changes += ui.SetCtrlVal(panel, indicator, count_ % 2000) == ui::kOk;
      changes += ui.SetBackColour(panel, indicator, count_ % 2 ? ui::kRed : ui::kGreen) == ui::kOk;
    }
    return changes;
  }

 private:
  Program& program_;
  std::vector<double> history_;
  int count_ = 0;
};

struct Figures {
  int answers = 0;
  int changes = 0;
  int replots = 0;
  double wall = 0;
  double cpu = 0;
};

// paced: one answer per line exchange, pumping in between; otherwise one pump per answer.
Figures run(QtRuntime& rt, Feeder& feeder, int& replots, bool paced) {
  Figures f;
  replots = 0;
  const double cpuStart = cpuSeconds();
  const Clock::time_point start = Clock::now();
  while (secondsSince(start) < kRunSeconds) {
    f.changes += feeder.answer();
    ++f.answers;
    if (!paced) {
      rt.ProcessSystemEvents();
      continue;
    }
    while (secondsSince(start) < f.answers * kAnswerSeconds) {
      rt.ProcessSystemEvents();
    }
  }
  f.wall = secondsSince(start);
  f.cpu = cpuSeconds() - cpuStart;
  f.replots = replots;
  return f;
}

void print(const char* what, const Figures& f) {
  const double rate = f.answers / f.wall;
  std::printf(
      "%s: %.1f answers/s (%.2f of the line's 26.7/s), %.1f model changes per strip-chart "
      "replot, %.1f replots/s, cpu/wall %.3f\n",
      what, rate, rate * kAnswerSeconds, f.replots ? double(f.changes) / f.replots : 0.0,
      f.replots / f.wall, f.cpu / f.wall);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  QtRuntime rt([](int id) { return panelTemplate(id); });
  Program program(rt);
  StartOptions options;
  options.portSetup = [](Program&) {};
  if (StartUp(program, options) != 0) {
    return 1;
  }
  QCustomPlot* chart = rt.view().plotWidget(program.st.pHandle, ids::main::GRAPHRaw);
  if (!chart) {
    return 1;
  }
  int replots = 0;
  QObject::connect(chart, &QCustomPlot::afterReplot, [&replots] { ++replots; });
  for (int i = 0; i < 10; ++i) {
    rt.ProcessSystemEvents();
  }

  Feeder feeder(program);
  print("at the line's pace", run(rt, feeder, replots, true));
  print("flat out          ", run(rt, feeder, replots, false));
  ShutDown(program);
  return 0;
}
