#include "runtime/qt/plot_control_view.h"

#include <qcustomplot.h>

#include <QEvent>
#include <algorithm>
#include <utility>

#include "runtime/qt/plot_widget.h"

namespace qrix::qt {

namespace {
const QColor kGridColour(225, 225, 225);
}  // namespace

PlotControlView::PlotControlView(EventRouter& router, int panel, int control, QWidget* panelWidget)
    : ControlView(router, panel, control, panelWidget),
      plot_(new PlotWidget(panelWidget)),
      replot_(plot_, [this] { replotIfDirty(); }) {
  // No plot shows a legend. Entries made for it anyway are measured again on every replot.
  plot_->setAutoAddPlottableToLegend(false);
  // Solid grid lines in a light grey: the stock dotted ones cost the raster engine several
  // times as much, on every repaint of the data.
  for (QCPAxis* axis : plot_->axisRect()->axes()) {
    axis->grid()->setPen(QPen(kGridColour, 0));
  }
  setWidget(plot_, true);
}

void PlotControlView::applyPlots(const ui::Control&) {
  ui::PlotChange all;
  all.whole = true;
  noteChange(all);
  markDirty(false);
}

void PlotControlView::updatePlots(const ui::PlotChange& change) {
  if (!control()) {
    return;
  }
  noteChange(change);
  markDirty(false);
}

void PlotControlView::markDirty(bool redrawAnyway) {
  dirty_ = true;
  redrawAnyway_ = redrawAnyway_ || redrawAnyway;
  const qint64 since = sinceReplot_.isValid() ? sinceReplot_.elapsed() : kMinReplotMs;
  const int due = static_cast<int>(std::max<qint64>(0, kMinReplotMs - since));
  // A replot that is due goes into the window's next repaint instead of a repaint of its own.
  replot_.schedule(due, due);
}

void PlotControlView::flushPending() {
  ControlView::flushPending();
  replot_.cancel();
  replotIfDirty();
}

void PlotControlView::replotIfDirty() {
  if (!dirty_) {
    return;
  }
  dirty_ = false;
  const bool redrawAnyway = std::exchange(redrawAnyway_, false);
  const ui::Control* c = control();
  if (!c) {
    return;
  }
  if (!redraw(*c, redrawAnyway)) {
    return;
  }
  // A hidden plot has had no resize event yet; lay it out for its current size.
  plot_->setViewport(plot_->rect());
  plot_->refresh(redrawAnyway);
  sinceReplot_.start();
}

void PlotControlView::detach() {
  replot_.cancel();
  dirty_ = false;
  redrawAnyway_ = false;
  ControlView::detach();
}

}  // namespace qrix::qt
