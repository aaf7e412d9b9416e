#pragma once
// Strip charts: one line per trace over pointsPerScreen positions, newest at the right once
// the screen is full. A chart that has moved on by a few samples gets only those appended.

#include <cstddef>
#include <optional>

#include "runtime/qt/plot_control_view.h"

namespace qrix::qt {

class StripChartView : public PlotControlView {
 public:
  StripChartView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  bool changedSinceDrawn(const ui::Control& c) const override;
  void redraw(const ui::Control& c) override;

 private:
  // How many samples the model's traces have moved on from the drawn ones (0: the same points),
  // or nothing when they are not the drawn ones moved on.
  std::optional<std::size_t> samplesSinceDrawn(const ui::StripChartState& s) const;
  void rebuild(const ui::StripChartState& s);
  void append(const ui::StripChartState& s, std::size_t samples);

  std::optional<ui::StripChartState> drawn_;
  // Key of the leftmost position: appending moves it on instead of renumbering every point.
  double firstKey_ = 0;
};

}  // namespace qrix::qt
