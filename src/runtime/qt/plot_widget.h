#pragma once
// A QCustomPlot that draws straight into the window on its repaint. The stock plot draws every
// replot into a transparent buffer of its own, fills its background and blends the buffer over
// it; for graphs that change with every answer of the line, the buffer is only extra passes over
// every pixel. While the axes around the data stay as they were painted, new content repaints
// the data area alone, and the axes are not drawn again for it: what they draw over the data
// area (base lines, ticks) is kept from the last whole repaint. Where the plot knows what its
// data area holds, new content repaints only around what changed.

#include <qcustomplot.h>

#include <QImage>
#include <QMargins>
#include <optional>

#include "runtime/qt/plot_marks.h"

namespace qrix::qt {

class PlotWidget : public QCustomPlot {
 public:
  explicit PlotWidget(QWidget* parent);

  // Shows what the plot holds now, drawn at the window's next repaint: all of it with `whole`,
  // else where the content of the data area was or now is, or all of it once the axes around it
  // turn out to have changed. Counts as a replot for those who watch `afterReplot`.
  void refresh(bool whole);
  // Where the data, the grid and the items are drawn: what a repaint of new content covers.
  QRect dataArea() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // The axes' texts follow the widget's font: a panel shown scaled scales them too.
  void changeEvent(QEvent* event) override;

 private:
  // What is drawn around the data: where the axis rect lies, and each axis with its ticks (in
  // pixels) and texts.
  struct AxesAppearance {
    QRect axisRect;
    QList<bool> visible;
    QList<QString> labels;
    QList<QList<double>> tickPixels;
    QList<QList<QString>> tickLabels;
    bool operator==(const AxesAppearance&) const = default;
  };
  AxesAppearance axesAppearanceNow() const;

  // What the ticks of an axis follow from: its range and its ticker's settings.
  struct TickSource {
    QCPRange range;
    const QCPAxisTicker* ticker;
    int count;
    double origin;
    bool operator==(const TickSource&) const = default;
  };
  QList<TickSource> tickSourcesNow() const;
  // Sets up the ticks of each axis whose range or ticker changed since.
  void updateTicks();

  // Where the data area may differ from what was painted: around each mark that changed, or all
  // of it when it holds what marks do not tell. One rectangle, not one per mark: the raster
  // engine clips to one far faster than to several.
  QRect changedSincePainted();

  // The layer that holds the axes and nothing else, or null.
  QCPLayer* axesLayer() const;
  // Keeps what the axes draw over the data area, as bands along its edges.
  void keepAxesOverData();
  // Draws what lies in the data area for axes that are as they were last painted in full.
  // Marks whose reach lies outside `region`, the repaint, are left out.
  void drawDataArea(QCPPainter& painter, QCPLayer* axes, const QRegion& region,
                    const std::optional<PlotMarks>& marks);

  // The one axis rect, made with the plot: looking it up walks the whole layout.
  QCPAxisRect* const axisRect_;
  // The axes as last painted in full; none until then, or once they changed.
  std::optional<AxesAppearance> painted_;
  // What the data area held when it was last painted.
  std::optional<PlotMarks> paintedMarks_;
  // What the ticks of each axis were last set up from.
  QList<TickSource> ticked_;
  // What the axes drew over the data area at the last whole repaint, in bands along its edges
  // as deep as it reaches into it.
  struct Band {
    QPointF at;
    QImage image;
  };
  std::optional<QList<Band>> axesOverData_;
};

}  // namespace qrix::qt
