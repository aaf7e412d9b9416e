#include "runtime/qt/plot_widget.h"

#include <QPaintEvent>
#include <QResizeEvent>

namespace qrix::qt {

PlotWidget::PlotWidget(QWidget* parent) : QCustomPlot(parent) {
  // The background is filled on every repaint: what lies under the plot need not be painted.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotWidget::refresh() {
  update();
  emit afterReplot();
}

void PlotWidget::paintEvent(QPaintEvent*) {
  QCPPainter painter(this);
  if (!painter.isActive()) return;
  if (mBackgroundBrush.style() != Qt::NoBrush) painter.fillRect(viewport(), mBackgroundBrush);
  draw(&painter);
}

void PlotWidget::resizeEvent(QResizeEvent*) {
  setViewport(rect());
  update();
}

}  // namespace qrix::qt
