#include "runtime/qt/strip_chart_view.h"

#include <qcustomplot.h>

#include <algorithm>

#include "runtime/qt/qt_colours.h"

namespace qrix::qt {

StripChartView::StripChartView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : PlotControlView(router, panel, control, panelWidget) {
  // Positions on a strip chart are sample counts, not worth labelling.
  plot()->xAxis->setTickLabels(false);
}

bool StripChartView::changedSinceDrawn(const ui::Control& c) const {
  return !drawn_ || *drawn_ != c.strip;
}

std::optional<std::size_t> StripChartView::samplesSinceDrawn(const ui::StripChartState& s) const {
  if (!drawn_ || drawn_->traces.size() != s.traces.size() ||
      drawn_->pointsPerScreen != s.pointsPerScreen)
    return std::nullopt;
  if (s.traces.empty()) return 0;
  const std::size_t before = drawn_->traces.front().points.size();
  const std::size_t now = s.traces.front().points.size();
  for (std::size_t t = 0; t < s.traces.size(); ++t)
    if (drawn_->traces[t].points.size() != before || s.traces[t].points.size() != now)
      return std::nullopt;
  // With k new samples the model's first now - k points are the drawn ones after those that
  // scrolled out. Any k that fits gives the model's points; the smallest is the usual one.
  for (std::size_t k = now > before ? now - before : 0; k < now; ++k) {
    const std::size_t kept = now - k;
    const std::size_t scrolledOut = before - kept;
    bool fits = true;
    for (std::size_t t = 0; fits && t < s.traces.size(); ++t) {
      const double* model = s.traces[t].points.data();
      fits = std::equal(model, model + kept, drawn_->traces[t].points.data() + scrolledOut);
    }
    if (fits) return k;
  }
  return std::nullopt;
}

void StripChartView::rebuild(const ui::StripChartState& s) {
  QCustomPlot* p = plot();
  const int traces = static_cast<int>(s.traces.size());
  while (p->graphCount() > traces) p->removeGraph(p->graphCount() - 1);
  while (p->graphCount() < traces) p->addGraph();
  firstKey_ = 0;
  for (int t = 0; t < traces; ++t) {
    const ui::StripTrace& trace = s.traces[static_cast<std::size_t>(t)];
    QVector<double> x(static_cast<qsizetype>(trace.points.size()));
    QVector<double> y(trace.points.begin(), trace.points.end());
    for (qsizetype i = 0; i < x.size(); ++i) x[i] = static_cast<double>(i);
    p->graph(t)->setData(x, y, true);
  }
}

void StripChartView::append(const ui::StripChartState& s, std::size_t samples) {
  if (s.traces.empty()) return;
  const std::size_t before = drawn_->traces.front().points.size();
  const std::size_t now = s.traces.front().points.size();
  firstKey_ += static_cast<double>(before + samples - now);
  for (std::size_t t = 0; t < s.traces.size(); ++t) {
    QCPGraph* graph = plot()->graph(static_cast<int>(t));
    graph->data()->removeBefore(firstKey_);
    const std::vector<double>& points = s.traces[t].points;
    for (std::size_t i = now - samples; i < now; ++i)
      graph->addData(firstKey_ + static_cast<double>(i), points[i]);
  }
}

void StripChartView::redraw(const ui::Control& c) {
  QCustomPlot* p = plot();
  const ui::StripChartState& s = c.strip;
  const int traces = static_cast<int>(s.traces.size());
  const std::optional<std::size_t> samples = samplesSinceDrawn(s);
  if (samples && p->graphCount() == traces)
    append(s, *samples);
  else
    rebuild(s);

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
  drawn_ = s;
}

}  // namespace qrix::qt
