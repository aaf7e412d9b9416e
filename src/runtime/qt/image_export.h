#pragma once
// Pictures of what the view shows, for export: a graph or strip chart as PNG or SVG, a window
// with its child panels as PNG.

#include <string>

#include "runtime/runtime.h"

namespace qrix::qt {

class QtView;

// Empty when the file was written, otherwise why not. The image is made in memory first, so an
// existing file is replaced only by a whole one. A graph's picture carries `notes` around it;
// the graph on screen stays as it is.
std::string saveImage(QtView& view, int panel, int control, ImageFormat format,
                      const std::string& path, const ImageNotes& notes = {});

}  // namespace qrix::qt
