#include "runtime/qt/graph_view.h"

#include <qcustomplot.h>

#include <algorithm>

#include "runtime/qt/qt_colours.h"

namespace qrix::qt {

namespace {

constexpr double kSmallDotSize = 3;
constexpr double kMarkerSize = 6;
constexpr double kCursorMarkerSize = 9;
constexpr int kPixelsPerTick = 50;

QPen penFor(const ui::Plot& p) {
  QPen pen(toQColor(p.colour));
  pen.setStyle(p.lineStyle == ui::kLineStyleDash ? Qt::DashLine : Qt::SolidLine);
  return pen;
}

QCPScatterStyle scatterFor(int pointStyle) {
  switch (pointStyle) {
    case ui::kPointStyleNone: return QCPScatterStyle(QCPScatterStyle::ssNone);
    case ui::kPointStyleSmallDot: return QCPScatterStyle(QCPScatterStyle::ssDisc, kSmallDotSize);
    default: return QCPScatterStyle(QCPScatterStyle::ssCircle, kMarkerSize);
  }
}

void setRange(QCPAxis* axis, const ui::AxisRange& r) {
  axis->setRange(r.min, r.max);
}

enum class Shape { Graph, Curve, Rectangle };

// A profile (x rising) is drawn as a graph; an outline that turns back as a curve, kept in
// order.
Shape shapeFor(const ui::Plot& p) {
  if (p.kind == ui::Plot::Kind::Rectangle) {
    return Shape::Rectangle;
  }
  const size_t n = std::min(p.x.size(), p.y.size());
  return std::is_sorted(p.x.begin(), p.x.begin() + static_cast<long>(n)) ? Shape::Graph
                                                                         : Shape::Curve;
}

Shape shapeOf(QCPLayerable* shape) {
  if (qobject_cast<QCPItemRect*>(shape)) {
    return Shape::Rectangle;
  }
  return qobject_cast<QCPGraph*>(shape) ? Shape::Graph : Shape::Curve;
}

// What a graph shows: its state without the handles, which only tell plots apart for deleting.
ui::GraphState shownPart(const ui::GraphState& g) {
  ui::GraphState shown = g;
  shown.nextHandle = 0;
  for (ui::Plot& p : shown.plots) {
    p.handle = 0;
  }
  return shown;
}

}  // namespace

GraphView::GraphView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : PlotControlView(router, panel, control, panelWidget) {
  for (size_t i = 0; i < cursorLines_.size(); ++i) {
    cursorLines_[i] = new QCPItemStraightLine(plot());
    cursorMarkers_[i] = new QCPItemTracer(plot());
    cursorMarkers_[i]->setStyle(QCPItemTracer::tsCircle);
    cursorMarkers_[i]->setSize(kCursorMarkerSize);
    // Cursors stay above the plots, which are rebuilt on every redraw.
    cursorLines_[i]->setLayer(QStringLiteral("overlay"));
    cursorMarkers_[i]->setLayer(QStringLiteral("overlay"));
    cursorLines_[i]->setVisible(false);
    cursorMarkers_[i]->setVisible(false);
  }
}

void GraphView::noteChange(const ui::PlotChange& change) {
  wholeChanged_ = wholeChanged_ || change.whole || change.appendedSamples > 0;
  for (const ui::PlotChange::MovedMark& m : change.moved) {
    if (m.kind == ui::PlotChange::MovedMark::Kind::Cursor) {
      cursorsMoved_ = true;
    } else {
      movedRectangles_.push_back(static_cast<std::size_t>(m.index));
    }
  }
}

bool GraphView::redraw(const ui::Control& c, bool whole) {
  const ui::GraphState& g = c.graph;
  const bool all = whole || wholeChanged_ || !shapesFit(g.plots);
  bool any = all || cursorsMoved_ || !movedRectangles_.empty();
  if (all) {
    ui::GraphState shown = shownPart(g);
    any = whole || !drawn_ || shown != *drawn_;
    if (any) {
      drawAll(g);
    }
    drawn_ = std::move(shown);
  } else {
    // Rectangles moved in place: only they and the cursors change.
    for (std::size_t i : movedRectangles_) {
      if (i < g.plots.size()) {
        drawRectangle(shapes_[i], g.plots[i]);
      }
    }
    if (cursorsMoved_) {
      drawCursors(g);
    }
    // The moved marks are in the model's state now; a whole redraw compares with that.
    drawn_.reset();
  }
  wholeChanged_ = false;
  cursorsMoved_ = false;
  movedRectangles_.clear();
  return any;
}

void GraphView::drawAll(const ui::GraphState& g) {
  QCustomPlot* p = plot();
  // Programs delete and draw their plots again for every new value. Shapes of the kinds they
  // had are changed where they stand: making them anew costs more than drawing them.
  if (!shapesFit(g.plots)) {
    makeShapes(g.plots);
  }
  for (std::size_t i = 0; i < g.plots.size(); ++i) {
    if (g.plots[i].kind == ui::Plot::Kind::Polyline) {
      drawPolyline(shapes_[i], g.plots[i]);
    } else {
      drawRectangle(shapes_[i], g.plots[i]);
    }
  }
  setRange(p->xAxis, g.x);
  setRange(p->yAxis, g.yLeft);
  setRange(p->yAxis2, g.yRight);
  // The right axis shows once the program gives it a range of its own.
  const ui::AxisRange untouched = ui::GraphState{}.yRight;
  const bool rightUsed = g.yRight.min != untouched.min || g.yRight.max != untouched.max;
  p->yAxis2->setVisible(rightUsed);
  // Small graphs (a strip of a profile) get fewer ticks, so their labels do not pile up.
  const int yTicks = std::clamp(p->height() / kPixelsPerTick, 1, 5);
  p->yAxis->ticker()->setTickCount(yTicks);
  p->yAxis2->ticker()->setTickCount(yTicks);
  p->xAxis->ticker()->setTickCount(std::clamp(p->width() / kPixelsPerTick, 1, 5));
  p->xAxis->setLabel(QString::fromStdString(g.xLabel));
  p->yAxis->setLabel(QString::fromStdString(g.yLabel));
  drawCursors(g);
}

bool GraphView::shapesFit(const std::vector<ui::Plot>& plots) const {
  if (shapes_.size() != plots.size()) {
    return false;
  }
  for (std::size_t i = 0; i < plots.size(); ++i) {
    if (shapeOf(shapes_[i]) != shapeFor(plots[i])) {
      return false;
    }
  }
  return true;
}

void GraphView::makeShapes(const std::vector<ui::Plot>& plots) {
  QCustomPlot* p = plot();
  // Items first: clearing the plottables deletes the graphs and curves among the shapes.
  for (QCPLayerable* shape : shapes_) {
    if (shapeOf(shape) == Shape::Rectangle) {
      p->removeItem(static_cast<QCPItemRect*>(shape));
    }
  }
  p->clearPlottables();
  shapes_.clear();
  // The plot owns its plottables and items from construction on.
  for (const ui::Plot& plotData : plots) {
    switch (shapeFor(plotData)) {
      case Shape::Rectangle: {
        // Crisp edges: a blended edge of an upright rectangle adds nothing to see, and a moved
        // edge of a sharp one repaints only around itself.
        auto* rect = new QCPItemRect(p);
        rect->setAntialiased(false);
        shapes_.push_back(rect);
        break;
      }
      case Shape::Graph: shapes_.push_back(p->addGraph()); break;
      case Shape::Curve: shapes_.push_back(new QCPCurve(p->xAxis, p->yAxis)); break;
    }
  }
}

void GraphView::drawPolyline(QCPLayerable* shape, const ui::Plot& plotData) {
  const size_t n = std::min(plotData.x.size(), plotData.y.size());
  QVector<double> x(plotData.x.begin(), plotData.x.begin() + static_cast<long>(n));
  QVector<double> y(plotData.y.begin(), plotData.y.begin() + static_cast<long>(n));
  if (auto* graph = qobject_cast<QCPGraph*>(shape)) {
    graph->setData(x, y, true);
    graph->setPen(penFor(plotData));
    graph->setScatterStyle(scatterFor(plotData.pointStyle));
  } else {
    auto* curve = static_cast<QCPCurve*>(shape);
    curve->setData(x, y);
    curve->setPen(penFor(plotData));
    curve->setScatterStyle(scatterFor(plotData.pointStyle));
  }
}

void GraphView::drawRectangle(QCPLayerable* shape, const ui::Plot& plotData) {
  auto* rect = static_cast<QCPItemRect*>(shape);
  rect->topLeft->setCoords(std::min(plotData.x1, plotData.x2), std::max(plotData.y1, plotData.y2));
  rect->bottomRight->setCoords(std::max(plotData.x1, plotData.x2),
                               std::min(plotData.y1, plotData.y2));
  rect->setPen(QPen(toQColor(plotData.colour)));
  rect->setBrush(plotData.filled ? QBrush(toQColor(plotData.fillColour)) : QBrush(Qt::NoBrush));
}

void GraphView::drawCursors(const ui::GraphState& g) {
  for (size_t i = 0; i < cursorLines_.size(); ++i) {
    const ui::GraphCursor& cursor = g.cursors[i];
    const bool shown = static_cast<int>(i) < g.cursorCount;
    QPen pen(toQColor(cursor.colour));
    cursorLines_[i]->point1->setCoords(cursor.x, 0);
    cursorLines_[i]->point2->setCoords(cursor.x, 1);
    cursorLines_[i]->setPen(pen);
    cursorLines_[i]->setVisible(shown);
    cursorMarkers_[i]->position->setCoords(cursor.x, cursor.y);
    cursorMarkers_[i]->setPen(pen);
    cursorMarkers_[i]->setVisible(shown && cursor.pointStyle == ui::kPointStyleMarker);
  }
}

}  // namespace qrix::qt
