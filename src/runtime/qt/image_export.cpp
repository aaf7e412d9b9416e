#include "runtime/qt/image_export.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QImage>
#include <QSvgGenerator>

#include "runtime/files.h"
#include "runtime/output_file.h"
#include "runtime/qt/qt_view.h"

namespace qrix::qt {

namespace {

// The plot as vectors, at the size it has on screen.
QByteArray svgOf(QCustomPlot& plot) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  // The size is written in millimetres: at 96 dots per inch a browser shows the plot at its
  // size in pixels. The view box holds the pixel size itself.
  svg.setResolution(96);
  svg.setSize(plot.size());
  svg.setViewBox(plot.rect());
  svg.setTitle(plot.accessibleName());
  QCPPainter painter;
  if (!painter.begin(&svg)) return {};
  plot.toPainter(&painter, plot.width(), plot.height());
  painter.end();
  return bytes;
}

QByteArray pngOf(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (image.isNull() || !image.save(&buffer, "PNG")) return {};
  return bytes;
}

}  // namespace

std::string saveImage(QtView& view, int panel, int control, ImageFormat format,
                      const std::string& path) {
  QByteArray bytes;
  if (control == 0) {
    if (format != ImageFormat::Png) return "a window is saved as PNG only";
    if (!view.panelWidget(panel)) return "no such window";
    bytes = pngOf(view.grab(panel));
  } else {
    QCustomPlot* plot = view.plotWidget(panel, control);
    if (!plot) return "not a graph";
    view.flushPending();
    bytes = format == ImageFormat::Svg ? svgOf(*plot) : pngOf(plot->toPixmap().toImage());
  }
  if (bytes.isEmpty()) return "the picture could not be made";
  if (!files::writeFileAtomically(
          path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
    return "cannot write " + path;
  return {};
}

}  // namespace qrix::qt
