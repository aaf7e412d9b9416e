#pragma once
// Strip charts: one line per trace over pointsPerScreen positions, newest at the right once
// the screen is full.

#include "runtime/qt/plot_control_view.h"

namespace qrix::qt {

class StripChartView : public PlotControlView {
 public:
  StripChartView(EventRouter& router, int panel, int control, QWidget* panelWidget);

 protected:
  void redraw(const ui::Control& c) override;
};

}  // namespace qrix::qt
