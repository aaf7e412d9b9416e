#pragma once
// What graphs and strip charts share: a QCustomPlot brought in step with the model at most once
// per short interval, however many plot calls the program makes in between, and replotted only
// when what it shows has changed.

#include <QElapsedTimer>

#include "runtime/qt/control_view.h"
#include "runtime/qt/deferred_update.h"
#include "runtime/qt/plot_widget.h"

namespace qrix::qt {

class PlotControlView : public ControlView {
 public:
  // Redraws come no closer than this; a strip chart fed 50 times a second stays cheap.
  static constexpr int kMinReplotMs = 20;

  PlotControlView(EventRouter& router, int panel, int control, QWidget* panelWidget);

  PlotWidget* plot() const { return plot_; }
  void flushPending() override;
  void detach() override;

 protected:
  void applyValue(const ui::Control&) override {}
  // Size and visibility are not part of the plot's content: always redrawn.
  void applyAttributes(const ui::Control&) override { markDirty(true); }
  void applyPlots(const ui::Control&) override { markDirty(false); }
  // Whether the model's plot content differs from what the plot was last drawn from.
  virtual bool changedSinceDrawn(const ui::Control& c) const = 0;
  // Brings the plot's content in step with the model and remembers what it was drawn from.
  virtual void redraw(const ui::Control& c) = 0;

 private:
  void markDirty(bool redrawAnyway);
  void replotIfDirty();

  PlotWidget* plot_;
  DeferredUpdate replot_;
  QElapsedTimer sinceReplot_;
  bool dirty_ = false;
  bool redrawAnyway_ = false;
};

}  // namespace qrix::qt
