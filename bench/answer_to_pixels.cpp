// Answer on the line to pixels on screen during RUN: the scope's real window identified against
// qrix-sensor-sim, with a relay between the two that notes when the last byte of each answer
// reaches the scope's pseudo-terminal. An answer is on screen when the window has flushed a
// repaint of the RUN graphs (raw strip chart and both bar graphs) after it arrived and before
// the next one did. Prints the median and 90th percentile (target: median at most 8 ms) and how
// many answers reached no repaint before the next one. Run it under xvfb-run to draw on a
// display.

#include <qcustomplot.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "answer_relay.h"
#include "window_session.h"

namespace {

using qrix::bench::AnswerRelay;
using Clock = AnswerRelay::Clock;

constexpr double kWarmUpSeconds = 1.0;
constexpr double kMeasuredSeconds = 8.0;
constexpr double kTargetMedianMs = 8.0;

// Notes when a repaint of the watched plots has reached the window system: the zero timer
// started in their paint runs once the window's whole repaint has been flushed.
class FlushWatch : public QObject {
 public:
  explicit FlushWatch(const std::vector<QWidget*>& plots) {
    for (QWidget* w : plots) {
      w->installEventFilter(this);
    }
  }
  std::vector<Clock::time_point> flushes;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !pending_) {
      pending_ = true;
      QTimer::singleShot(0, this, [this] {
        flushes.push_back(Clock::now());
        pending_ = false;
      });
    }
    return false;
  }

 private:
  bool pending_ = false;
};

double percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  qrix::bench::useDisplayOrOffscreen("answer to pixels");
  QApplication app(argc, argv);
  std::unique_ptr<AnswerRelay> relay;  // outlives the session, which closes the port first
  qrix::bench::WindowSession session("answer to pixels", [&relay](const std::string& device) {
    relay = std::make_unique<AnswerRelay>(device);
    return relay->ok() ? relay->devicePath() : std::string();
  });
  if (!session.ok()) {
    return 1;
  }
  std::printf("answer to pixels: drawing on %s\n", qPrintable(QApplication::platformName()));

  qrix::Program& p = session.program();
  std::vector<QWidget*> plots;
  for (int graph : {qrix::ids::main::GRAPHRaw, qrix::ids::main::GRAPHBarMaster,
                    qrix::ids::main::GRAPHBarSlave}) {
    plots.push_back(session.runtime().view().plotWidget(p.st.pHandle, graph));
  }
  FlushWatch watch(plots);
  const size_t answersBefore = relay->answersSince(0).size();
  const auto start = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(kWarmUpSeconds));
  session.run(kWarmUpSeconds, kMeasuredSeconds);
  std::vector<Clock::time_point> answers = relay->answersSince(answersBefore);

  // The last answer may have been cut off by STOP: only answers with a successor count.
  std::vector<double> ms;
  int missed = 0;
  for (size_t i = 0; i + 1 < answers.size(); ++i) {
    if (answers[i] < start) {
      continue;
    }
    auto shown = std::lower_bound(watch.flushes.begin(), watch.flushes.end(), answers[i]);
    if (shown == watch.flushes.end() || *shown >= answers[i + 1]) {
      ++missed;
      continue;
    }
    ms.push_back(std::chrono::duration<double, std::milli>(*shown - answers[i]).count());
  }
  if (ms.empty()) {
    std::printf("answer to pixels: no answer reached the screen\n");
    return 1;
  }
  std::printf(
      "answer to pixels: median %.1f ms, p90 %.1f ms over %zu answers (target: median <= %.0f "
      "ms); %d answers not on screen before the next arrived\n",
      percentile(ms, 0.5), percentile(ms, 0.9), ms.size(), kTargetMedianMs, missed);
  return 0;
}
