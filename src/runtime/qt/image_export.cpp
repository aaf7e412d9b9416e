#include "runtime/qt/image_export.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QImage>
#include <QSvgGenerator>
#include <algorithm>
#include <optional>

#include "runtime/files.h"
#include "runtime/output_file.h"
#include "runtime/qt/qt_view.h"

namespace qrix::qt {

namespace {

constexpr int kTitleBand = 26;
constexpr int kNumberBand = 34;
constexpr int kLegendBand = 22;
constexpr int kSamplesPerNumber = 10;

int topBand(const ImageNotes& notes) {
  return notes.title.empty() ? 0 : kTitleBand;
}
int bottomBand(const ImageNotes& notes) {
  return (notes.xLabel.empty() ? 0 : kNumberBand) + (notes.legend.empty() ? 0 : kLegendBand);
}

// The key of the newest sample any trace holds.
std::optional<double> newestKey(QCustomPlot& plot) {
  std::optional<double> newest;
  for (int g = 0; g < plot.graphCount(); ++g) {
    const auto& data = *plot.graph(g)->data();
    if (!data.isEmpty()) {
      newest = std::max(newest.value_or(data.constEnd()[-1].key), data.constEnd()[-1].key);
    }
  }
  return newest;
}

// Numbers under the x axis, every ten samples back from the newest (0), and the axis's name.
void drawXNumbers(QCPPainter& painter, QCustomPlot& plot, const std::string& label, int top) {
  const std::optional<double> newest = newestKey(plot);
  const QCPRange range = plot.xAxis->range();
  painter.setPen(Qt::black);
  if (newest) {
    for (int back = 0; *newest - back >= range.lower; back += kSamplesPerNumber) {
      const double key = *newest - back;
      if (key > range.upper) {
        continue;
      }
      const int x = static_cast<int>(plot.xAxis->coordToPixel(key));
      painter.drawLine(QLineF(x, top, x, top + 3));
      painter.drawText(QRect(x - 20, top + 3, 40, 14), Qt::AlignHCenter | Qt::AlignTop,
                       QString::number(-back));
    }
  }
  painter.drawText(QRect(0, top + 17, plot.width(), 16), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromStdString(label));
}

// One entry per visible trace: a stroke in its colour and its name.
void drawLegend(QCPPainter& painter, QCustomPlot& plot, const std::vector<std::string>& names,
                int top) {
  int x = plot.axisRect()->left();
  const QFontMetrics metrics(painter.font());
  for (int g = 0; g < plot.graphCount() && g < static_cast<int>(names.size()); ++g) {
    if (!plot.graph(g)->visible()) {
      continue;
    }
    const QString name = QString::fromStdString(names[static_cast<std::size_t>(g)]);
    painter.setPen(QPen(plot.graph(g)->pen().color(), 2));
    painter.drawLine(QLineF(x, top + kLegendBand / 2, x + 18, top + kLegendBand / 2));
    painter.setPen(Qt::black);
    painter.drawText(QRect(x + 22, top, 400, kLegendBand), Qt::AlignLeft | Qt::AlignVCenter, name);
    x += 22 + metrics.horizontalAdvance(name) + 16;
  }
}

// The plot as the window shows it, with the notes around it that let the picture stand alone.
void drawWithNotes(QCPPainter& painter, QCustomPlot& plot, const ImageNotes& notes) {
  const int top = topBand(notes);
  painter.fillRect(QRect(0, 0, plot.width(), top + plot.height() + bottomBand(notes)), Qt::white);
  if (!notes.title.empty()) {
    QFont bold = plot.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, plot.width(), kTitleBand), Qt::AlignCenter,
                     QString::fromStdString(notes.title));
  }
  painter.save();
  painter.translate(0, top);
  plot.toPainter(&painter, plot.width(), plot.height());
  painter.restore();
  painter.setFont(plot.font());
  int below = top + plot.height();
  if (!notes.xLabel.empty()) {
    drawXNumbers(painter, plot, notes.xLabel, below);
    below += kNumberBand;
  }
  if (!notes.legend.empty()) {
    drawLegend(painter, plot, notes.legend, below);
  }
}

QSize sizeWithNotes(QCustomPlot& plot, const ImageNotes& notes) {
  return {plot.width(), topBand(notes) + plot.height() + bottomBand(notes)};
}

// The plot as vectors, at the size it has on screen.
QByteArray svgOf(QCustomPlot& plot, const ImageNotes& notes) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  // The size is written in millimetres: at 96 dots per inch a browser shows the plot at its
  // size in pixels. The view box holds the pixel size itself.
  const QSize size = sizeWithNotes(plot, notes);
  svg.setResolution(96);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(notes.title.empty() ? plot.accessibleName() : QString::fromStdString(notes.title));
  QCPPainter painter;
  if (!painter.begin(&svg)) {
    return {};
  }
  drawWithNotes(painter, plot, notes);
  painter.end();
  return bytes;
}

// The plot as pixels, at its size on screen times the screen's pixel ratio.
QImage imageOf(QCustomPlot& plot, const ImageNotes& notes) {
  const qreal ratio = plot.devicePixelRatioF();
  QImage image(sizeWithNotes(plot, notes) * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  QCPPainter painter;
  if (!painter.begin(&image)) {
    return {};
  }
  painter.setRenderHint(QPainter::TextAntialiasing);
  drawWithNotes(painter, plot, notes);
  painter.end();
  return image;
}

QByteArray pngOf(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, "PNG")) {
    return {};
  }
  return bytes;
}

}  // namespace

std::string saveImage(QtView& view, int panel, int control, ImageFormat format,
                      const std::string& path, const ImageNotes& notes) {
  QByteArray bytes;
  if (control == 0) {
    if (format != ImageFormat::Png) {
      return "a window is saved as PNG only";
    }
    if (!view.panelWidget(panel)) {
      return "no such window";
    }
    bytes = pngOf(view.grab(panel));
  } else {
    QCustomPlot* plot = view.plotWidget(panel, control);
    if (!plot) {
      return "not a graph";
    }
    view.flushPending();
    bytes = format == ImageFormat::Svg ? svgOf(*plot, notes) : pngOf(imageOf(*plot, notes));
  }
  if (bytes.isEmpty()) {
    return "the picture could not be made";
  }
  if (!files::writeFileAtomically(
          path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
    return "cannot write " + path;
  }
  return {};
}

}  // namespace qrix::qt
