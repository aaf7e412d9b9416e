#include "runtime/qt/strip_chart_view.h"

#include <qcustomplot.h>

#include "runtime/qt/qt_colours.h"

namespace qrix::qt {

StripChartView::StripChartView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : PlotControlView(router, panel, control, panelWidget) {
  // Positions on a strip chart are sample counts, not worth labelling.
  plot()->xAxis->setTickLabels(false);
}

void StripChartView::redraw(const ui::Control& c) {
  QCustomPlot* p = plot();
  const ui::StripChartState& s = c.strip;
  const int traces = static_cast<int>(s.traces.size());
  while (p->graphCount() > traces) p->removeGraph(p->graphCount() - 1);
  while (p->graphCount() < traces) p->addGraph();

  for (int t = 0; t < traces; ++t) {
    const ui::StripTrace& trace = s.traces[static_cast<size_t>(t)];
    QVector<double> x(static_cast<qsizetype>(trace.points.size()));
    QVector<double> y(trace.points.begin(), trace.points.end());
    for (qsizetype i = 0; i < x.size(); ++i) x[i] = static_cast<double>(i);
    QCPGraph* graph = p->graph(t);
    graph->setData(x, y, true);
    graph->setPen(QPen(toQColor(trace.colour)));
    graph->setVisible(trace.visible);
  }
  p->xAxis->setRange(0, std::max(1, s.pointsPerScreen - 1));
  p->yAxis->setRange(s.yLeft.min, s.yLeft.max);
  p->yAxis->setLabel(QString::fromStdString(s.yLabel));
}

}  // namespace qrix::qt
