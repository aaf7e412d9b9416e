#pragma once
// Graphs: polylines, rectangles, three axes and two vertical cursors.

#include <array>
#include <optional>
#include <vector>

#include "runtime/qt/plot_control_view.h"

class QCPItemRect;
class QCPItemStraightLine;
class QCPItemTracer;

namespace qrix::qt {

class GraphView : public PlotControlView {
 public:
  GraphView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  bool changedSinceDrawn(const ui::Control& c) const override;
  void redraw(const ui::Control& c) override;

 private:
  void drawPolyline(const ui::Plot& p);
  void drawRectangle(const ui::Plot& p);
  void drawCursors(const ui::GraphState& g);

  std::vector<QCPItemRect*> rectangles_;  // owned by the plot
  std::array<QCPItemStraightLine*, 2> cursorLines_{};
  std::array<QCPItemTracer*, 2> cursorMarkers_{};
  std::optional<ui::GraphState> drawn_;  // without plot handles
};

}  // namespace qrix::qt
