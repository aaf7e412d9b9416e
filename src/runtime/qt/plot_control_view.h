#pragma once
// What graphs and strip charts share: a QCustomPlot brought in step with the model at most once
// per short interval, however many plot calls the program makes in between, and replotted only
// when the model has told of a change; the model says what changed, so nothing is compared.

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
  void updatePlots(const ui::PlotChange& change) override;

 protected:
  void applyValue(const ui::Control&) override {}
  // Size and visibility are not part of the plot's content: always redrawn.
  void applyAttributes(const ui::Control&) override { markDirty(true); }
  // Told without saying what changed: all of it may have.
  void applyPlots(const ui::Control&) override;
  // Keeps what the model says changed for the next redraw.
  virtual void noteChange(const ui::PlotChange& change) = 0;
  // Brings the plot's content in step with the model: all of it with `whole`, else what the
  // changes noted since touched. Returns whether there was anything to bring in step.
  virtual bool redraw(const ui::Control& c, bool whole) = 0;

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
