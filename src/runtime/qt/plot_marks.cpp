#include "runtime/qt/plot_marks.h"

#include <algorithm>
#include <cmath>

namespace qrix::qt {

namespace {

enum Kind : int { kLine = 1, kRectangle, kStraightLine, kTracer };

// How far a pen (and a symbol drawn with it) reaches beyond the geometry: half of it, and a
// pixel more for antialiasing.
double marginOf(const QPen& pen, double symbol = 0) {
  return (std::max(1.0, pen.widthF()) + symbol) / 2 + 2;
}

// The whole pixels of `r` widened by `margin`, within `bounds`. Nothing when it is not a number.
std::optional<QRect> pixelsAround(const QRectF& r, double margin, const QRect& bounds) {
  if (std::isnan(r.left()) || std::isnan(r.top()) || std::isnan(r.right()) ||
      std::isnan(r.bottom())) {
    return std::nullopt;
  }
  const auto x = [&bounds](double v) {
    return std::clamp(v, double(bounds.left()), double(bounds.right()));
  };
  const auto y = [&bounds](double v) {
    return std::clamp(v, double(bounds.top()), double(bounds.bottom()));
  };
  return QRect(
      QPoint(int(std::floor(x(r.left() - margin))), int(std::floor(y(r.top() - margin)))),
      QPoint(int(std::ceil(x(r.right() + margin))), int(std::ceil(y(r.bottom() + margin)))));
}

// A graph's line. Only a level line is known well enough to be drawn alike again: its row and
// the columns of its points make all of its pixels.
std::optional<PlotMark> lineMark(const QCPGraph& graph, const QRect& area) {
  // A fill and impulses reach beyond the rows of the values.
  if (graph.brush().style() != Qt::NoBrush || graph.lineStyle() == QCPGraph::lsImpulse ||
      graph.selected() || graph.valueAxis()->orientation() != Qt::Vertical) {
    return std::nullopt;
  }
  const QCPAxis* values = graph.valueAxis();
  double low = qInf(), high = -qInf();
  for (const QCPGraphData& d : *graph.data()) {
    // A gap breaks the line where the rows do not tell.
    if (std::isnan(d.value)) {
      return std::nullopt;
    }
    low = std::min(low, d.value);
    high = std::max(high, d.value);
  }
  PlotMark mark;
  mark.pen = graph.pen();
  if (graph.data()->isEmpty()) {
    mark.shape = {kLine};  // nothing drawn
    return mark;
  }
  const double y1 = values->coordToPixel(low), y2 = values->coordToPixel(high);
  const double top = std::min(y1, y2), bottom = std::max(y1, y2);
  const bool symbols = !graph.scatterStyle().isNone();
  if (low == high && graph.lineStyle() == QCPGraph::lsLine && !symbols) {
    std::vector<double> shape{kLine, top};
    shape.reserve(std::size_t(graph.data()->size()) + 2);
    for (const QCPGraphData& d : *graph.data()) {
      shape.push_back(graph.keyAxis()->coordToPixel(d.key));
    }
    mark.shape = std::move(shape);
  }
  const auto reach =
      pixelsAround(QRectF(QPointF(area.left(), top), QPointF(area.right(), bottom)),
                   marginOf(mark.pen, symbols ? graph.scatterStyle().size() : 0), area);
  if (!reach) {
    return std::nullopt;
  }
  mark.reach = *reach;
  return mark;
}

std::optional<PlotMark> rectangleMark(const QCPItemRect& rect, const QRect& area) {
  PlotMark mark;
  mark.pen = rect.pen();
  mark.brush = rect.brush();
  const QRectF box =
      QRectF(rect.topLeft->pixelPosition(), rect.bottomRight->pixelPosition()).normalized();
  mark.box = box;
  mark.shape = {kRectangle, box.left(), box.top(), box.right(), box.bottom()};
  const auto reach = pixelsAround(box, marginOf(mark.pen), area);
  if (!reach) {
    return std::nullopt;
  }
  mark.reach = *reach;
  return mark;
}

// A cursor: a straight line across the data area, known when it is upright or level.
std::optional<PlotMark> straightLineMark(const QCPItemStraightLine& line, const QRect& area) {
  const QPointF p1 = line.point1->pixelPosition(), p2 = line.point2->pixelPosition();
  QRectF across;
  if (p1.x() == p2.x()) {
    across = QRectF(QPointF(p1.x(), area.top()), QPointF(p1.x(), area.bottom()));
  } else if (p1.y() == p2.y()) {
    across = QRectF(QPointF(area.left(), p1.y()), QPointF(area.right(), p1.y()));
  } else {
    return std::nullopt;
  }
  PlotMark mark;
  mark.pen = line.pen();
  mark.shape = {kStraightLine, p1.x(), p1.y(), p2.x(), p2.y()};
  const auto reach = pixelsAround(across, marginOf(mark.pen), area);
  if (!reach) {
    return std::nullopt;
  }
  mark.reach = *reach;
  return mark;
}

// A cursor's marker: a symbol of its size around its position.
std::optional<PlotMark> tracerMark(const QCPItemTracer& tracer, const QRect& area) {
  // One that follows a graph moves on its own; a crosshair runs across the data area.
  if (tracer.graph() || tracer.style() == QCPItemTracer::tsCrosshair) {
    return std::nullopt;
  }
  const QPointF at = tracer.position->pixelPosition();
  PlotMark mark;
  mark.pen = tracer.pen();
  mark.brush = tracer.brush();
  mark.shape = {kTracer, at.x(), at.y(), tracer.size(), double(tracer.style())};
  const auto reach = pixelsAround(QRectF(at, at), marginOf(mark.pen, tracer.size()), area);
  if (!reach) {
    return std::nullopt;
  }
  mark.reach = *reach;
  return mark;
}

// What draws the frame is compared with the frame, a layout draws nothing (but a legend, which
// is one), nor does a selection rectangle that is not being dragged.
bool drawsNoMark(QCPLayerable* layerable) {
  if (const auto* selection = qobject_cast<QCPSelectionRect*>(layerable)) {
    return !selection->isActive();
  }
  return qobject_cast<QCPAxis*>(layerable) || qobject_cast<QCPGrid*>(layerable) ||
         qobject_cast<QCPAxisRect*>(layerable) ||
         (qobject_cast<QCPLayout*>(layerable) && !qobject_cast<QCPLegend*>(layerable));
}

std::optional<PlotMark> markOf(QCPLayerable* layerable, const QRect& area) {
  if (const auto* graph = qobject_cast<QCPGraph*>(layerable)) {
    return lineMark(*graph, area);
  }
  const auto* item = qobject_cast<QCPAbstractItem*>(layerable);
  // An item drawn beyond the data area, or in its selected look, is not known.
  if (!item || !item->clipToAxisRect() || item->selected()) {
    return std::nullopt;
  }
  if (const auto* rect = qobject_cast<const QCPItemRect*>(item)) {
    return rectangleMark(*rect, area);
  }
  if (const auto* line = qobject_cast<const QCPItemStraightLine*>(item)) {
    return straightLineMark(*line, area);
  }
  if (const auto* tracer = qobject_cast<const QCPItemTracer*>(item)) {
    return tracerMark(*tracer, area);
  }
  return std::nullopt;
}

// A rectangle drawn alike but for some edges changes only the pixels around those edges: along
// each, from where it was to where it is, across both rectangles.
QRect movedEdges(const PlotMark& was, const PlotMark& now) {
  const QRectF& a = *was.box;
  const QRectF& b = *now.box;
  const QRectF both = a | b;
  QRectF changed;
  const auto across = [&](double from, double to, bool upright) {
    if (from == to) {
      return;
    }
    const double low = std::min(from, to), high = std::max(from, to);
    changed |= upright ? QRectF(QPointF(low, both.top()), QPointF(high, both.bottom()))
                       : QRectF(QPointF(both.left(), low), QPointF(both.right(), high));
  };
  across(a.left(), b.left(), true);
  across(a.right(), b.right(), true);
  across(a.top(), b.top(), false);
  across(a.bottom(), b.bottom(), false);
  const QRect bounds = was.reach | now.reach;
  // Both are drawn with the same pen.
  return pixelsAround(changed, marginOf(now.pen), bounds).value_or(bounds);
}

QRect changeOf(const PlotMark& was, const PlotMark& now) {
  const bool alikeButShape = was.pen == now.pen && was.brush == now.brush &&
                             was.antialiased == now.antialiased && was.order == now.order;
  if (alikeButShape && was.shape && now.shape && *was.shape == *now.shape) {
    return {};
  }
  if (alikeButShape && was.box && now.box) {
    return movedEdges(was, now);
  }
  return was.reach | now.reach;
}

}  // namespace

std::optional<PlotMarks> marksOf(QCustomPlot& plot, const QRect& area) {
  PlotMarks marks;
  for (int l = 0; l < plot.layerCount(); ++l) {
    for (QCPLayerable* layerable : plot.layer(l)->children()) {
      if (!layerable->realVisibility() || drawsNoMark(layerable)) {
        continue;
      }
      std::optional<PlotMark> mark = markOf(layerable, area);
      if (!mark) {
        return std::nullopt;
      }
      mark->antialiased = layerable->antialiased();
      mark->order = int(marks.size());
      marks.emplace(layerable, std::move(*mark));
    }
  }
  return marks;
}

QRect changedBetween(const PlotMarks& was, const PlotMarks& now) {
  QRect changed;
  for (const auto& [layerable, mark] : now) {
    const auto before = was.find(layerable);
    changed |= before == was.end() ? mark.reach : changeOf(before->second, mark);
  }
  for (const auto& [layerable, mark] : was) {
    if (!now.contains(layerable)) {
      changed |= mark.reach;
    }
  }
  // The raster engine fills an antialiased shape a shade differently where a repaint's edge cuts
  // through it: such a shape is repainted whole, or not at all.
  for (bool grew = !changed.isEmpty(); grew;) {
    grew = false;
    for (const auto& [layerable, mark] : now) {
      if (mark.antialiased && mark.brush.style() != Qt::NoBrush && changed.intersects(mark.reach) &&
          !changed.contains(mark.reach)) {
        changed |= mark.reach;
        grew = true;
      }
    }
  }
  return changed;
}

}  // namespace qrix::qt
