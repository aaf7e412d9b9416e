// Graphs and strip charts of the ui model: plots, axes, cursors and traces.

#include <algorithm>
#include <cstddef>

#include "runtime/ui_model.h"

namespace qrix::ui {

int UiModel::PlotXY(int handle, int id, const std::vector<double>& x, const std::vector<double>& y,
                    Rgb colour, int plotStyle, int pointStyle, int lineStyle) {
  Control* c = mutableControl(handle, id, ControlKind::Graph);
  if (!c) return kErrWrongKind;
  Plot plot;
  plot.handle = c->graph.nextHandle++;
  plot.kind = Plot::Kind::Polyline;
  plot.x = x;
  plot.y = y;
  plot.colour = colour;
  plot.plotStyle = plotStyle;
  plot.pointStyle = pointStyle;
  plot.lineStyle = lineStyle;
  c->graph.plots.push_back(std::move(plot));
  notify(handle, id, Aspect::Plots);
  return c->graph.plots.back().handle;
}

int UiModel::PlotRectangle(int handle, int id, double x1, double y1, double x2, double y2,
                           Rgb colour, Rgb fillColour) {
  Control* c = mutableControl(handle, id, ControlKind::Graph);
  if (!c) return kErrWrongKind;
  Plot plot;
  plot.handle = c->graph.nextHandle++;
  plot.kind = Plot::Kind::Rectangle;
  plot.x1 = x1;
  plot.y1 = y1;
  plot.x2 = x2;
  plot.y2 = y2;
  plot.colour = colour;
  plot.fillColour = fillColour;
  plot.filled = true;
  c->graph.plots.push_back(std::move(plot));
  notify(handle, id, Aspect::Plots);
  return c->graph.plots.back().handle;
}

int UiModel::DeleteGraphPlot(int handle, int id, int plotHandle) {
  Control* c = mutableControl(handle, id, ControlKind::Graph);
  if (!c) return kErrWrongKind;
  auto& plots = c->graph.plots;
  const size_t before = plots.size();
  if (plotHandle < 0)
    plots.clear();
  else
    std::erase_if(plots, [&](const Plot& p) { return p.handle == plotHandle; });
  if (plots.size() != before) notify(handle, id, Aspect::Plots);
  return kOk;
}

int UiModel::SetAxisRange(int handle, int id, Axis axis, double min, double max) {
  Control* c = mutableControl(handle, id);
  if (!c) return kErrNoControl;
  AxisRange* r = nullptr;
  if (c->kind == ControlKind::StripChart && axis != Axis::X)
    r = &c->strip.yLeft;
  else if (c->kind == ControlKind::Graph)
    r = axis == Axis::X ? &c->graph.x : axis == Axis::YLeft ? &c->graph.yLeft : &c->graph.yRight;
  else
    return kErrWrongKind;
  const AxisRange range{min, max};
  if (*r == range) return kOk;
  *r = range;
  notify(handle, id, Aspect::Plots);
  return kOk;
}

int UiModel::SetGraphCursor(int handle, int id, int cursor, double x, double y) {
  Control* c = mutableControl(handle, id, ControlKind::Graph);
  if (!c || cursor < 1 || cursor > 2) return kErrWrongKind;
  GraphCursor& cur = c->graph.cursors[static_cast<size_t>(cursor - 1)];
  if (cur.x == x && cur.y == y && c->graph.cursorCount >= cursor) return kOk;
  cur.x = x;
  cur.y = y;
  c->graph.cursorCount = std::max(c->graph.cursorCount, cursor);
  notify(handle, id, Aspect::Plots);
  return kOk;
}

int UiModel::SetCursorPointStyle(int handle, int id, int cursor, int pointStyle) {
  Control* c = mutableControl(handle, id, ControlKind::Graph);
  if (!c || cursor < 1 || cursor > 2) return kErrWrongKind;
  int& style = c->graph.cursors[static_cast<size_t>(cursor - 1)].pointStyle;
  if (style == pointStyle && c->graph.cursorCount >= cursor) return kOk;
  style = pointStyle;
  c->graph.cursorCount = std::max(c->graph.cursorCount, cursor);
  notify(handle, id, Aspect::Plots);
  return kOk;
}

int UiModel::SetStripTraces(int handle, int id, int traceCount) {
  Control* c = mutableControl(handle, id, ControlKind::StripChart);
  if (!c || traceCount < 0) return kErrWrongKind;
  if (c->strip.traces.size() == static_cast<size_t>(traceCount)) return kOk;
  c->strip.traces.resize(static_cast<size_t>(traceCount));
  notify(handle, id, Aspect::Plots);
  return kOk;
}

int UiModel::SetStripPointsPerScreen(int handle, int id, int points) {
  Control* c = mutableControl(handle, id, ControlKind::StripChart);
  if (!c || points <= 0) return kErrWrongKind;
  if (c->strip.pointsPerScreen == points) return kOk;
  c->strip.pointsPerScreen = points;
  for (auto& t : c->strip.traces)
    if (t.points.size() > static_cast<size_t>(points))
      t.points.erase(t.points.begin(), t.points.end() - points);
  notify(handle, id, Aspect::Plots);
  return kOk;
}

int UiModel::SetTraceColour(int handle, int id, int trace, Rgb colour) {
  Control* c = mutableControl(handle, id, ControlKind::StripChart);
  if (!c || trace < 1 || static_cast<size_t>(trace) > c->strip.traces.size()) return kErrWrongKind;
  Rgb& now = c->strip.traces[static_cast<size_t>(trace - 1)].colour;
  if (now == colour) return kOk;
  now = colour;
  notify(handle, id, Aspect::Plots);
  return kOk;
}

int UiModel::SetTraceVisible(int handle, int id, int trace, bool visible) {
  Control* c = mutableControl(handle, id, ControlKind::StripChart);
  if (!c || trace < 1 || static_cast<size_t>(trace) > c->strip.traces.size()) return kErrWrongKind;
  bool& now = c->strip.traces[static_cast<size_t>(trace - 1)].visible;
  if (now == visible) return kOk;
  now = visible;
  notify(handle, id, Aspect::Plots);
  return kOk;
}

int UiModel::PlotStripChart(int handle, int id, const double* data, int count) {
  Control* c = mutableControl(handle, id, ControlKind::StripChart);
  if (!c || count < 0) return kErrWrongKind;
  auto& traces = c->strip.traces;
  if (traces.empty()) return kOk;
  const size_t n = traces.size();
  const size_t keep = static_cast<size_t>(c->strip.pointsPerScreen);
  for (size_t i = 0; i + n <= static_cast<size_t>(count); i += n)
    for (size_t t = 0; t < n; ++t) traces[t].points.push_back(data[i + t]);
  for (auto& t : traces)
    if (t.points.size() > keep) t.points.erase(t.points.begin(), t.points.end() - keep);
  notify(handle, id, Aspect::Plots);
  return kOk;
}

int UiModel::PlotStripChartPoints(int handle, int id, const double* sample, int traceCount) {
  Control* c = mutableControl(handle, id, ControlKind::StripChart);
  if (!c) return kErrWrongKind;
  auto& traces = c->strip.traces;
  if (traceCount != static_cast<int>(traces.size())) return kErrCountMismatch;
  if (traces.empty()) return kOk;
  const auto keep = static_cast<std::ptrdiff_t>(c->strip.pointsPerScreen);
  for (size_t t = 0; t < traces.size(); ++t) {
    auto& points = traces[t].points;
    if (static_cast<std::ptrdiff_t>(points.size()) >= keep)
      points.erase(points.begin(), points.end() - (keep - 1));
    points.push_back(sample[t]);
  }
  notify(handle, id, Aspect::Plots);
  return kOk;
}

}  // namespace qrix::ui
