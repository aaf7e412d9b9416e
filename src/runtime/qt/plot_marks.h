#pragma once
// What the plottables and items of a plot drew in its data area, as far as a repaint of new
// content needs to know: the pixels each may touch and all that makes them. Two drawings then
// tell where the data area differs, so that a mark drawn alike again (a level line scrolled on,
// a cursor set where it was) costs no repaint, and a rectangle that moved an edge repaints only
// around that edge.

#include <qcustomplot.h>

#include <QBrush>
#include <QPen>
#include <QRect>
#include <map>
#include <optional>
#include <vector>

namespace qrix::qt {

struct PlotMark {
  // The pixels it may touch, in the plot's coordinates.
  QRect reach;
  QPen pen;
  QBrush brush;
  bool antialiased = true;
  // Its place in the order of drawing: one drawn in a new place may cover others differently.
  int order = 0;
  // All else that makes its pixels, as numbers (its kind first); none for a mark taken as new
  // on every drawing (a line that is not level).
  std::optional<std::vector<double>> shape;
  // A rectangle's corners in pixels.
  std::optional<QRectF> box;
};

using PlotMarks = std::map<const QCPLayerable*, PlotMark>;

// The marks of all that is drawn in `area`, the plot's data area, or none when something there
// may draw beyond what its marks would say.
std::optional<PlotMarks> marksOf(QCustomPlot& plot, const QRect& area);

// Where what `now` draws may differ from what `was` drew: one rectangle, empty when nothing does.
QRect changedBetween(const PlotMarks& was, const PlotMarks& now);

}  // namespace qrix::qt
