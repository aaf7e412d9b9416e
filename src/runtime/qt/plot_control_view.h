#pragma once
// What graphs and strip charts share: a QCustomPlot rebuilt from the model at most once per
// short interval, however many plot calls the program makes in between.

#include <QElapsedTimer>
#include <QTimer>

#include "runtime/qt/control_view.h"

class QCustomPlot;

namespace qrix::qt {

class PlotControlView : public ControlView {
 public:
  // Redraws come no closer than this; a strip chart fed 50 times a second stays cheap.
  static constexpr int kMinReplotMs = 20;

  PlotControlView(EventRouter& router, int panel, int control, QWidget* panelWidget);

  QCustomPlot* plot() const { return plot_; }
  void flushPlots() override;
  void detach() override;

 protected:
  void applyValue(const ui::Control&) override {}
  void applyAttributes(const ui::Control&) override { markDirty(); }
  void applyPlots(const ui::Control&) override { markDirty(); }
  // Rebuilds the plot's content from the model.
  virtual void redraw(const ui::Control& c) = 0;

 private:
  void markDirty();

  QCustomPlot* plot_;
  QTimer timer_;
  QElapsedTimer sinceReplot_;
  bool dirty_ = false;
};

}  // namespace qrix::qt
