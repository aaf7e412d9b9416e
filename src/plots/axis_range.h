#pragma once
// Axis ranges computed from received values.

#include "runtime/ui_model.h"

namespace qrix {

// Sets a fixed axis range; a low at or above high (a target past the chart's full scale, a
// scale of 0) gets a one-unit span instead of a range the graph cannot draw.
inline void setDrawableRange(ui::UiModel& ui, int panel, int control, ui::Axis axis, double low,
                             double high) {
  if (!(low < high)) {
    high = low + 1;
  }
  ui.SetAxisRange(panel, control, axis, low, high);
}

}  // namespace qrix
