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
  bool changedSinceDrawn(const ui::Control& c) const override;
  void redraw(const ui::Control& c) override;

 private:
  // Whether the shapes on the plot are of the kinds the plots need, in the same order.
  bool shapesFit(const std::vector<ui::Plot>& plots) const;
  void makeShapes(const std::vector<ui::Plot>& plots);
  static void drawPolyline(QCPLayerable* shape, const ui::Plot& p);
  static void drawRectangle(QCPLayerable* shape, const ui::Plot& p);
  void drawCursors(const ui::GraphState& g);

  // One per plot of the model, in its order: a graph, a curve or a rectangle, owned by the plot.
  std::vector<QCPLayerable*> shapes_;
  std::array<QCPItemStraightLine*, 2> cursorLines_{};
  std::array<QCPItemTracer*, 2> cursorMarkers_{};
  std::optional<ui::GraphState> drawn_;  // without plot handles
};

}  // namespace qrix::qt
