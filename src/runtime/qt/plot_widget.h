#pragma once
// A QCustomPlot that draws straight into the window on its repaint. The stock plot draws every
// replot into a transparent buffer of its own, fills its background and blends the buffer over
// it; for graphs that change with every answer of the line, the buffer is only extra passes over
// every pixel.

#include <qcustomplot.h>

namespace qrix::qt {

class PlotWidget : public QCustomPlot {
 public:
  explicit PlotWidget(QWidget* parent);

  // Shows what the plot holds now, drawn at the window's next repaint. Counts as a replot for
  // those who watch `afterReplot`.
  void refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
};

}  // namespace qrix::qt
