#pragma once
// Graphs: polylines, rectangles, three axes and two vertical cursors.

#include <array>
#include <optional>
#include <vector>

#include "runtime/qt/plot_control_view.h"

class QCPItemStraightLine;
class QCPItemTracer;
class QCPLayerable;

namespace qrix::qt {

class GraphView : public PlotControlView {
 public:
  GraphView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void noteChange(const ui::PlotChange& change) override;
  bool redraw(const ui::Control& c, bool whole) override;

 private:
  // Whether the shapes on the plot are of the kinds the plots need, in the same order.
  bool shapesFit(const std::vector<ui::Plot>& plots) const;
  void makeShapes(const std::vector<ui::Plot>& plots);
  static void drawPolyline(QCPLayerable* shape, const ui::Plot& p);
  static void drawRectangle(QCPLayerable* shape, const ui::Plot& p);
  void drawCursors(const ui::GraphState& g);
  void drawAll(const ui::GraphState& g);

  // One per plot of the model, in its order: a graph, a curve or a rectangle, owned by the plot.
  std::vector<QCPLayerable*> shapes_;
  std::array<QCPItemStraightLine*, 2> cursorLines_{};
  std::array<QCPItemTracer*, 2> cursorMarkers_{};
  // What changed since the last redraw: everything, or these rectangles (places among the
  // plots) and the cursors.
  bool wholeChanged_ = true;
  std::vector<std::size_t> movedRectangles_;
  bool cursorsMoved_ = false;
  // What a whole redraw drew, without plot handles: plots deleted and drawn again the same (the
  // model cannot tell) then draw nothing anew. Moves in place never need it.
  std::optional<ui::GraphState> drawn_;
};

}  // namespace qrix::qt
