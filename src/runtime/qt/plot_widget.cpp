#include "runtime/qt/plot_widget.h"

#include <QPaintEvent>
#include <QResizeEvent>
#include <algorithm>

namespace qrix::qt {

namespace {

// QCustomPlot draws a layer, and each thing on it, for itself only; a plot that draws some of
// them alone reaches the same calls through classes of their own.
struct LayerAccess : QCPLayer {
  static void drawLayer(QCPLayer* layer, QCPPainter* painter) {
    (layer->*&LayerAccess::draw)(painter);
  }
};

// One thing on a layer, drawn as its layer draws it.
struct LayerableAccess : QCPLayerable {
  static void drawAlone(QCPLayerable* layerable, QCPPainter* painter) {
    painter->save();
    painter->setClipRect((layerable->*&LayerableAccess::clipRect)().translated(0, -1));
    (layerable->*&LayerableAccess::applyDefaultAntialiasingHint)(painter);
    (layerable->*&LayerableAccess::draw)(painter);
    painter->restore();
  }
};

// The same for the ticks of one axis, which a plot lays out for all of its axes at once.
struct AxisAccess : QCPAxis {
  static void setupTicks(QCPAxis* axis) { (axis->*&AxisAccess::setupTickVectors)(); }
};

// How deep the drawn pixels of `image` reach from each edge, each pixel counted for its nearest
// edge. The left and right bands take the full height, the top and bottom ones the width between
// them, so that together they hold every drawn pixel once.
QMargins bandsOf(const QImage& image) {
  const int w = image.width(), h = image.height();
  int left = 0, top = 0, right = 0, bottom = 0;
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      if (qAlpha(row[x]) == 0) {
        continue;
      }
      const int fromLeft = x, fromRight = w - 1 - x, fromTop = y, fromBottom = h - 1 - y;
      const int nearest = std::min({fromLeft, fromRight, fromTop, fromBottom});
      if (nearest == fromLeft) {
        left = std::max(left, nearest + 1);
      } else if (nearest == fromRight) {
        right = std::max(right, nearest + 1);
      } else if (nearest == fromTop) {
        top = std::max(top, nearest + 1);
      } else {
        bottom = std::max(bottom, nearest + 1);
      }
    }
  }
  return QMargins(left, top, std::min(right, w - left), std::min(bottom, h - top));
}

// The bands of `image` as rectangles that do not overlap.
QList<QRect> bandRects(const QSize& size, const QMargins& b) {
  const int w = size.width(), h = size.height();
  const int between = w - b.left() - b.right();
  QList<QRect> rects;
  for (const QRect& r : {QRect(0, 0, b.left(), h), QRect(w - b.right(), 0, b.right(), h),
                         QRect(b.left(), 0, between, b.top()),
                         QRect(b.left(), h - b.bottom(), between, b.bottom())}) {
    if (!r.isEmpty()) {
      rects.append(r);
    }
  }
  return rects;
}

}  // namespace

PlotWidget::PlotWidget(QWidget* parent) : QCustomPlot(parent), axisRect_(axisRect()) {
  // The background is filled on every repaint: what lies under the plot need not be painted.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotWidget::refresh(bool whole) {
  if (whole || !painted_) {
    update();
  } else if (const QRect changed = changedSincePainted(); !changed.isEmpty()) {
    update(changed);
  } else {
    // Nothing changed in the data area; what changed may lie around it.
    updateTicks();
    if (axesAppearanceNow() != *painted_) {
      update();
    }
  }
  emit afterReplot();
}

QRect PlotWidget::dataArea() const {
  // QCustomPlot clips what it draws for the axis rect one row higher than the rect: a grid line
  // at the top of the range lies in the row above it.
  return axisRect_->rect().adjusted(0, -1, 0, 0);
}

QRect PlotWidget::changedSincePainted() {
  std::optional<PlotMarks> now = marksOf(*this, dataArea());
  if (!now || !paintedMarks_) {
    return dataArea();
  }
  return changedBetween(*paintedMarks_, *now);
}

PlotWidget::AxesAppearance PlotWidget::axesAppearanceNow() const {
  AxesAppearance f;
  f.axisRect = axisRect_->rect();
  for (const QCPAxis* axis : axisRect_->axes()) {
    f.visible.append(axis->visible());
    f.labels.append(axis->label());
    QList<double> pixels;
    for (double tick : axis->tickVector()) {
      pixels.append(axis->coordToPixel(tick));
    }
    f.tickPixels.append(pixels);
    f.tickLabels.append(axis->tickLabels() ? axis->tickVectorLabels() : QList<QString>());
  }
  return f;
}

QList<PlotWidget::TickSource> PlotWidget::tickSourcesNow() const {
  QList<TickSource> sources;
  for (const QCPAxis* axis : axisRect_->axes()) {
    sources.append({axis->range(), axis->ticker().data(), axis->ticker()->tickCount(),
                    axis->ticker()->tickOrigin()});
  }
  return sources;
}

void PlotWidget::updateTicks() {
  const QList<QCPAxis*> axes = axisRect_->axes();
  QList<TickSource> now = tickSourcesNow();
  for (qsizetype i = 0; i < axes.size(); ++i) {
    if (i >= ticked_.size() || ticked_[i] != now[i]) {
      AxisAccess::setupTicks(axes[i]);
    }
  }
  ticked_ = std::move(now);
}

QCPLayer* PlotWidget::axesLayer() const {
  const QList<QCPAxis*> axes = axisRect_->axes();
  if (axes.isEmpty()) {
    return nullptr;
  }
  QCPLayer* layer = axes.front()->layer();
  if (!layer) {
    return nullptr;
  }
  for (const QCPLayerable* child : layer->children()) {
    if (!qobject_cast<const QCPAxis*>(child)) {
      return nullptr;
    }
  }
  for (const QCPAxis* axis : axes) {
    if (axis->layer() != layer) {
      return nullptr;
    }
  }
  return layer;
}

void PlotWidget::keepAxesOverData() {
  axesOverData_.reset();
  QCPLayer* axes = axesLayer();
  if (!axes) {
    return;
  }
  const QRect area = dataArea();
  const qreal dpr = devicePixelRatioF();
  QImage image((QSizeF(area.size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(dpr);
  image.fill(Qt::transparent);
  {
    QCPPainter painter(&image);
    painter.translate(-area.topLeft());
    LayerAccess::drawLayer(axes, &painter);
  }
  // Each band an image of its own: a small image draws faster than a part of a large one.
  QList<Band> bands;
  for (const QRect& r : bandRects(image.size(), bandsOf(image))) {
    QImage band = image.copy(r);
    band.setDevicePixelRatio(dpr);
    bands.append({QPointF(area.topLeft()) + QPointF(r.topLeft()) / dpr, std::move(band)});
  }
  axesOverData_ = std::move(bands);
}

void PlotWidget::drawDataArea(QCPPainter& painter, QCPLayer* axes, const QRegion& region,
                              const std::optional<PlotMarks>& marks) {
  drawBackground(&painter);
  for (int i = 0; i < layerCount(); ++i) {
    if (layer(i) == axes) {
      for (const Band& band : *axesOverData_) {
        painter.drawImage(band.at, band.image);
      }
      continue;
    }
    for (QCPLayerable* layerable : layer(i)->children()) {
      if (!layerable->realVisibility()) {
        continue;
      }
      // A mark wholly outside the repaint would be drawn for nothing.
      if (marks) {
        if (const auto mark = marks->find(layerable);
            mark != marks->end() && !region.intersects(mark->second.reach)) {
          continue;
        }
      }
      LayerableAccess::drawAlone(layerable, &painter);
    }
  }
}

void PlotWidget::paintEvent(QPaintEvent* event) {
  QCPPainter painter(this);
  if (!painter.isActive()) {
    return;
  }
  if (mBackgroundBrush.style() != Qt::NoBrush) {
    painter.fillRect(viewport(), mBackgroundBrush);
  }
  const bool whole = QRegion(rect()).subtracted(event->region()).isEmpty();
  const bool inDataArea = event->region().subtracted(dataArea()).isEmpty();
  if (!whole && inDataArea && painted_ && axesOverData_) {
    // The ticks for the ranges as they are now tell whether the axes are still as painted.
    updateTicks();
    if (QCPLayer* axes = axesLayer(); axes && axesAppearanceNow() == *painted_) {
      std::optional<PlotMarks> marks = marksOf(*this, dataArea());
      drawDataArea(painter, axes, event->region(), marks);
      paintedMarks_ = std::move(marks);
      return;
    }
  }
  draw(&painter);
  ticked_ = tickSourcesNow();
  paintedMarks_ = marksOf(*this, dataArea());
  AxesAppearance now = axesAppearanceNow();
  if (whole) {
    painted_ = std::move(now);
    keepAxesOverData();
  } else if (painted_ && *painted_ != now) {
    // The axes moved under a repaint of the data alone: paint the rest as well.
    painted_.reset();
    update();
  }
}

void PlotWidget::changeEvent(QEvent* event) {
  QCustomPlot::changeEvent(event);
  if (event->type() != QEvent::FontChange) {
    return;
  }
  for (QCPAxis* axis : axisRect_->axes()) {
    axis->setTickLabelFont(font());
    axis->setLabelFont(font());
  }
  painted_.reset();
  update();
}

void PlotWidget::resizeEvent(QResizeEvent*) {
  setViewport(rect());
  painted_.reset();
  update();
}

}  // namespace qrix::qt
