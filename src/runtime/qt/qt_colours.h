#pragma once
// Conversions between the model's 0xRRGGBB colours and Qt's.

#include <QColor>

#include "runtime/ui_types.h"

namespace qrix::qt {

inline QColor toQColor(ui::Rgb rgb) {
  return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>(rgb & 0xFF));
}

}  // namespace qrix::qt
