// Graphs and strip charts of the ui model: plots, axes, cursors and traces.

#include <algorithm>
#include <cstddef>
#include <string>

#include "runtime/ui_model.h"

namespace qrix::ui {

namespace {

const PlotChange kWholeChange{.moved = {}, .appendedSamples = 0, .whole = true};

PlotArea areaOf(const Plot& p) {
  return {std::min(p.x1, p.x2), std::min(p.y1, p.y2), std::max(p.x1, p.x2), std::max(p.y1, p.y2)};
}

}  // namespace

void UiModel::notifyPlots(int panel, int control, const PlotChange& change) {
  if (observer_) {
    observer_->plotsChanged(panel, control, change);
  }
}

void UiModel::notifyCursor(int panel, int control, int cursor, bool wasShown, PlotArea was,
                           PlotArea now) {
  // A cursor shown for the first time is a new mark, not a moved one.
  if (!wasShown) {
    return notifyPlots(panel, control, kWholeChange);
  }
  PlotChange change;
  change.moved.push_back({PlotChange::MovedMark::Kind::Cursor, cursor - 1, was, now});
  notifyPlots(panel, control, change);
}

int UiModel::outOfRange(int panel, int control, const char* what, int index) const {
  failed(panel, control, kErrOutOfRange, std::string("no ") + what + " " + std::to_string(index));
  return kErrOutOfRange;
}

int UiModel::PlotXY(int handle, int id, const std::vector<double>& x, const std::vector<double>& y,
                    Rgb colour, int plotStyle, int pointStyle, int lineStyle) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Graph, &status);
  if (!c) {
    return status;
  }
  if (x.size() != y.size()) {
    failed(handle, id, kErrOutOfRange,
           std::to_string(x.size()) + " x values for " + std::to_string(y.size()) + " y values");
    return kErrOutOfRange;
  }
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
  notifyPlots(handle, id, kWholeChange);
  return c->graph.plots.back().handle;
}

int UiModel::PlotRectangle(int handle, int id, double x1, double y1, double x2, double y2,
                           Rgb colour, Rgb fillColour) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Graph, &status);
  if (!c) {
    return status;
  }
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
  notifyPlots(handle, id, kWholeChange);
  return c->graph.plots.back().handle;
}

int UiModel::SetGraphRectangles(int handle, int id, const std::vector<RectanglePlot>& rectangles) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Graph, &status);
  if (!c) {
    return status;
  }
  std::vector<Plot>& plots = c->graph.plots;
  const bool inPlace = plots.size() == rectangles.size() &&
                       std::all_of(plots.begin(), plots.end(), [](const Plot& p) {
                         return p.kind == Plot::Kind::Rectangle && p.filled;
                       });
  if (!inPlace) {
    plots.clear();
    for (size_t i = 0; i < rectangles.size(); ++i) {
      Plot plot;
      plot.handle = c->graph.nextHandle++;
      plot.kind = Plot::Kind::Rectangle;
      plot.filled = true;
      plots.push_back(std::move(plot));
    }
  }
  PlotChange change;
  change.whole = !inPlace;
  for (size_t i = 0; i < rectangles.size(); ++i) {
    const RectanglePlot& r = rectangles[i];
    Plot& plot = plots[i];
    const PlotArea was = areaOf(plot);
    if (inPlace && plot.x1 == r.x1 && plot.y1 == r.y1 && plot.x2 == r.x2 && plot.y2 == r.y2 &&
        plot.colour == r.colour && plot.fillColour == r.fillColour) {
      continue;
    }
    plot.x1 = r.x1;
    plot.y1 = r.y1;
    plot.x2 = r.x2;
    plot.y2 = r.y2;
    plot.colour = r.colour;
    plot.fillColour = r.fillColour;
    if (inPlace) {
      change.moved.push_back(
          {PlotChange::MovedMark::Kind::Rectangle, static_cast<int>(i), was, areaOf(plot)});
    }
  }
  if (change.whole || !change.moved.empty()) {
    notifyPlots(handle, id, change);
  }
  return static_cast<int>(rectangles.size());
}

int UiModel::DeleteGraphPlot(int handle, int id, int plotHandle) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Graph, &status);
  if (!c) {
    return status;
  }
  auto& plots = c->graph.plots;
  const size_t before = plots.size();
  if (plotHandle < 0) {
    plots.clear();
  } else {
    std::erase_if(plots, [&](const Plot& p) { return p.handle == plotHandle; });
  }
  if (plots.size() != before) {
    notifyPlots(handle, id, kWholeChange);
  }
  return kOk;
}

int UiModel::SetAxisRange(int handle, int id, Axis axis, double min, double max) {
  int status = kOk;
  Control* c = mutableControl(handle, id, std::nullopt, &status);
  if (!c) {
    return status;
  }
  AxisRange* r = nullptr;
  if (c->kind == ControlKind::StripChart && axis != Axis::X) {
    r = &c->strip.yLeft;
  } else if (c->kind == ControlKind::Graph) {
    r = axis == Axis::X ? &c->graph.x : axis == Axis::YLeft ? &c->graph.yLeft : &c->graph.yRight;
  } else {
    return kErrWrongKind;
  }
  const AxisRange range{min, max};
  if (*r == range) {
    return kOk;
  }
  *r = range;
  notifyPlots(handle, id, kWholeChange);
  return kOk;
}

int UiModel::SetGraphCursor(int handle, int id, int cursor, double x, double y) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Graph, &status);
  if (!c) {
    return status;
  }
  if (cursor < 1 || cursor > 2) {
    return outOfRange(handle, id, "cursor", cursor);
  }
  GraphCursor& cur = c->graph.cursors[static_cast<size_t>(cursor - 1)];
  const bool shown = c->graph.cursorCount >= cursor;
  if (cur.x == x && cur.y == y && shown) {
    return kOk;
  }
  const PlotArea was{cur.x, cur.y, cur.x, cur.y};
  cur.x = x;
  cur.y = y;
  c->graph.cursorCount = std::max(c->graph.cursorCount, cursor);
  notifyCursor(handle, id, cursor, shown, was, {x, y, x, y});
  return kOk;
}

int UiModel::SetCursorPointStyle(int handle, int id, int cursor, int pointStyle) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::Graph, &status);
  if (!c) {
    return status;
  }
  if (cursor < 1 || cursor > 2) {
    return outOfRange(handle, id, "cursor", cursor);
  }
  GraphCursor& cur = c->graph.cursors[static_cast<size_t>(cursor - 1)];
  const bool shown = c->graph.cursorCount >= cursor;
  if (cur.pointStyle == pointStyle && shown) {
    return kOk;
  }
  cur.pointStyle = pointStyle;
  c->graph.cursorCount = std::max(c->graph.cursorCount, cursor);
  // The marker comes or goes where the cursor stands.
  const PlotArea at{cur.x, cur.y, cur.x, cur.y};
  notifyCursor(handle, id, cursor, shown, at, at);
  return kOk;
}

int UiModel::SetStripTraces(int handle, int id, int traceCount) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::StripChart, &status);
  if (!c) {
    return status;
  }
  if (traceCount < 0) {
    return outOfRange(handle, id, "trace count", traceCount);
  }
  if (c->strip.traces.size() == static_cast<size_t>(traceCount)) {
    return kOk;
  }
  c->strip.traces.resize(static_cast<size_t>(traceCount));
  notifyPlots(handle, id, kWholeChange);
  return kOk;
}

int UiModel::SetStripPointsPerScreen(int handle, int id, int points) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::StripChart, &status);
  if (!c) {
    return status;
  }
  if (points <= 0) {
    return outOfRange(handle, id, "points per screen", points);
  }
  if (c->strip.pointsPerScreen == points) {
    return kOk;
  }
  c->strip.pointsPerScreen = points;
  for (auto& t : c->strip.traces) {
    if (t.points.size() > static_cast<size_t>(points)) {
      t.points.erase(t.points.begin(), t.points.end() - points);
    }
  }
  notifyPlots(handle, id, kWholeChange);
  return kOk;
}

int UiModel::SetTraceColour(int handle, int id, int trace, Rgb colour) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::StripChart, &status);
  if (!c) {
    return status;
  }
  if (trace < 1 || static_cast<size_t>(trace) > c->strip.traces.size()) {
    return outOfRange(handle, id, "trace", trace);
  }
  Rgb& now = c->strip.traces[static_cast<size_t>(trace - 1)].colour;
  if (now == colour) {
    return kOk;
  }
  now = colour;
  notifyPlots(handle, id, kWholeChange);
  return kOk;
}

int UiModel::SetTraceVisible(int handle, int id, int trace, bool visible) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::StripChart, &status);
  if (!c) {
    return status;
  }
  if (trace < 1 || static_cast<size_t>(trace) > c->strip.traces.size()) {
    return outOfRange(handle, id, "trace", trace);
  }
  bool& now = c->strip.traces[static_cast<size_t>(trace - 1)].visible;
  if (now == visible) {
    return kOk;
  }
  now = visible;
  notifyPlots(handle, id, kWholeChange);
  return kOk;
}

int UiModel::PlotStripChart(int handle, int id, const double* data, int count) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::StripChart, &status);
  if (!c) {
    return status;
  }
  if (count < 0) {
    return outOfRange(handle, id, "value count", count);
  }
  auto& traces = c->strip.traces;
  if (traces.empty()) {
    return kOk;
  }
  const size_t n = traces.size();
  const size_t keep = static_cast<size_t>(c->strip.pointsPerScreen);
  for (size_t i = 0; i + n <= static_cast<size_t>(count); i += n) {
    for (size_t t = 0; t < n; ++t) {
      traces[t].points.push_back(data[i + t]);
    }
  }
  for (auto& t : traces) {
    if (t.points.size() > keep) {
      t.points.erase(t.points.begin(), t.points.end() - keep);
    }
  }
  PlotChange change;
  change.appendedSamples = count / static_cast<int>(n);
  if (change.appendedSamples > 0) {
    notifyPlots(handle, id, change);
  }
  return kOk;
}

int UiModel::PlotStripChartPoints(int handle, int id, const double* sample, int traceCount) {
  int status = kOk;
  Control* c = mutableControl(handle, id, ControlKind::StripChart, &status);
  if (!c) {
    return status;
  }
  auto& traces = c->strip.traces;
  if (traceCount != static_cast<int>(traces.size())) {
    return kErrCountMismatch;
  }
  if (traces.empty()) {
    return kOk;
  }
  const auto keep = static_cast<std::ptrdiff_t>(c->strip.pointsPerScreen);
  // A full screen of one value scrolled on by that value shows the same: nothing to tell.
  const bool same = std::all_of(traces.begin(), traces.end(), [&](const StripTrace& t) {
    const double v = sample[&t - traces.data()];
    return static_cast<std::ptrdiff_t>(t.points.size()) == keep &&
           std::all_of(t.points.begin(), t.points.end(), [v](double p) { return p == v; });
  });
  if (same) {
    return kOk;
  }
  for (size_t t = 0; t < traces.size(); ++t) {
    auto& points = traces[t].points;
    if (static_cast<std::ptrdiff_t>(points.size()) >= keep) {
      points.erase(points.begin(), points.end() - (keep - 1));
    }
    points.push_back(sample[t]);
  }
  PlotChange change;
  change.appendedSamples = 1;
  notifyPlots(handle, id, change);
  return kOk;
}

}  // namespace qrix::ui
