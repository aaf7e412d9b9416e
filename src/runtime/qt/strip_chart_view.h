#pragma once
// Strip charts: one line per trace over pointsPerScreen positions, newest at the right once
// the screen is full. A chart the model says has moved on by a few samples gets only those
// appended.

#include <cstddef>

#include "runtime/qt/plot_control_view.h"

namespace qrix::qt {

class StripChartView : public PlotControlView {
 public:
  StripChartView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void noteChange(const ui::PlotChange& change) override;
  bool redraw(const ui::Control& c, bool whole) override;

 private:
  // Whether the model's traces are the drawn ones with `samples` appended.
  bool drawnPlus(const ui::StripChartState& s, std::size_t samples) const;
  void rebuild(const ui::StripChartState& s);
  void append(const ui::StripChartState& s, std::size_t samples);

  // What changed since the last redraw: everything, or this many samples appended.
  bool wholeChanged_ = true;
  std::size_t appended_ = 0;
  // Points of each trace on the plot.
  std::size_t drawnPoints_ = 0;
  // Key of the leftmost position: appending moves it on instead of renumbering every point.
  double firstKey_ = 0;
};

}  // namespace qrix::qt
