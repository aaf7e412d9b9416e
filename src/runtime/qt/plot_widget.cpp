#include "runtime/qt/plot_widget.h"

#include <QPaintEvent>
#include <QResizeEvent>

namespace qrix::qt {

PlotWidget::PlotWidget(QWidget* parent) : QCustomPlot(parent) {
  // The background is filled on every repaint: what lies under the plot need not be painted.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotWidget::refresh(bool whole) {
  if (whole || !painted_)
    update();
  else
    update(dataArea());
  emit afterReplot();
}

QRect PlotWidget::dataArea() const {
  // QCustomPlot clips what it draws for the axis rect one row higher than the rect: a grid line
  // at the top of the range lies in the row above it.
  return axisRect()->rect().adjusted(0, -1, 0, 0);
}

PlotWidget::Frame PlotWidget::frameNow() const {
  Frame f;
  f.axisRect = axisRect()->rect();
  for (const QCPAxis* axis : axisRect()->axes()) {
    f.visible.append(axis->visible());
    f.labels.append(axis->label());
    QList<double> pixels;
    for (double tick : axis->tickVector()) pixels.append(axis->coordToPixel(tick));
    f.tickPixels.append(pixels);
    f.tickLabels.append(axis->tickLabels() ? axis->tickVectorLabels() : QList<QString>());
  }
  return f;
}

void PlotWidget::paintEvent(QPaintEvent* event) {
  QCPPainter painter(this);
  if (!painter.isActive()) return;
  if (mBackgroundBrush.style() != Qt::NoBrush) painter.fillRect(viewport(), mBackgroundBrush);
  draw(&painter);
  Frame now = frameNow();
  if (QRegion(rect()).subtracted(event->region()).isEmpty()) {
    painted_ = std::move(now);
  } else if (painted_ && *painted_ != now) {
    // The axes moved under a repaint of the data alone: paint the rest as well.
    painted_.reset();
    update();
  }
}

void PlotWidget::resizeEvent(QResizeEvent*) {
  setViewport(rect());
  painted_.reset();
  update();
}

}  // namespace qrix::qt
