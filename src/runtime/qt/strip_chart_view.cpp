#include "runtime/qt/strip_chart_view.h"

#include <qcustomplot.h>

#include <algorithm>
#include <utility>

#include "runtime/qt/qt_colours.h"

namespace qrix::qt {

StripChartView::StripChartView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : PlotControlView(router, panel, control, panelWidget) {
  // Positions on a strip chart are sample counts, not worth labelling.
  plot()->xAxis->setTickLabels(false);
}

void StripChartView::noteChange(const ui::PlotChange& change) {
  wholeChanged_ = wholeChanged_ || change.whole || !change.moved.empty();
  appended_ += static_cast<std::size_t>(std::max(0, change.appendedSamples));
}

bool StripChartView::drawnPlus(const ui::StripChartState& s, std::size_t samples) const {
  if (static_cast<std::size_t>(plot()->graphCount()) != s.traces.size()) {
    return false;
  }
  if (s.traces.empty()) {
    return true;
  }
  // The model keeps the newest pointsPerScreen: the drawn points and the new ones, or fewer.
  const std::size_t now = s.traces.front().points.size();
  if (samples > now || drawnPoints_ + samples < now) {
    return false;
  }
  return std::all_of(s.traces.begin(), s.traces.end(),
                     [now](const ui::StripTrace& t) { return t.points.size() == now; });
}

void StripChartView::rebuild(const ui::StripChartState& s) {
  QCustomPlot* p = plot();
  const int traces = static_cast<int>(s.traces.size());
  while (p->graphCount() > traces) {
    p->removeGraph(p->graphCount() - 1);
  }
  while (p->graphCount() < traces) {
    p->addGraph();
  }
  firstKey_ = 0;
  for (int t = 0; t < traces; ++t) {
    const ui::StripTrace& trace = s.traces[static_cast<std::size_t>(t)];
    QVector<double> x(static_cast<qsizetype>(trace.points.size()));
    QVector<double> y(trace.points.begin(), trace.points.end());
    for (qsizetype i = 0; i < x.size(); ++i) {
      x[i] = static_cast<double>(i);
    }
    p->graph(t)->setData(x, y, true);
  }
}

void StripChartView::append(const ui::StripChartState& s, std::size_t samples) {
  if (s.traces.empty()) {
    return;
  }
  const std::size_t before = drawnPoints_;
  const std::size_t now = s.traces.front().points.size();
  firstKey_ += static_cast<double>(before + samples - now);
  for (std::size_t t = 0; t < s.traces.size(); ++t) {
    QCPGraph* graph = plot()->graph(static_cast<int>(t));
    graph->data()->removeBefore(firstKey_);
    const std::vector<double>& points = s.traces[t].points;
    for (std::size_t i = now - samples; i < now; ++i) {
      graph->addData(firstKey_ + static_cast<double>(i), points[i]);
    }
  }
}

bool StripChartView::redraw(const ui::Control& c, bool whole) {
  const bool all = whole || wholeChanged_;
  const std::size_t samples = std::exchange(appended_, 0);
  wholeChanged_ = false;
  if (!all && samples == 0) {
    return false;
  }
  QCustomPlot* p = plot();
  const ui::StripChartState& s = c.strip;
  const int traces = static_cast<int>(s.traces.size());
  if (!all && drawnPlus(s, samples)) {
    append(s, samples);
  } else {
    rebuild(s);
  }
  drawnPoints_ = s.traces.empty() ? 0 : s.traces.front().points.size();

  for (int t = 0; t < traces; ++t) {
    const ui::StripTrace& trace = s.traces[static_cast<std::size_t>(t)];
    QCPGraph* graph = p->graph(t);
    graph->setPen(QPen(toQColor(trace.colour)));
    graph->setVisible(trace.visible);
  }
  p->xAxis->setRange(firstKey_, firstKey_ + std::max(1, s.pointsPerScreen - 1));
  // The grid stays where it is on the screen while the keys move on.
  p->xAxis->ticker()->setTickOrigin(firstKey_);
  p->yAxis->setRange(s.yLeft.min, s.yLeft.max);
  p->yAxis->setLabel(QString::fromStdString(s.yLabel));
  return true;
}

}  // namespace qrix::qt
