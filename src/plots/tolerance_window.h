#pragma once
// The tolerance windows: green rectangles along the bottom of the bar graphs marking where an
// edge has to lie for the measured value to be in tolerance.

#include <cstdint>
#include <optional>

#include "runtime/ui_model.h"

namespace qrix {

struct Program;

struct WindowSpan {
  double left = 0;
  double right = 0;
};

// The window drawn on each bar graph, if any.
struct ToleranceWindows {
  std::optional<WindowSpan> master;
  std::optional<WindowSpan> slave;
};

struct ProgramState;

// The windows for the evaluation mode, where they lie.
ToleranceWindows toleranceWindows(const ProgramState& st, std::uint16_t mode, std::uint16_t posA,
                                  std::uint16_t posB);

// The green rectangle of a window.
ui::UiModel::RectanglePlot toleranceRectangle(WindowSpan w);

// Adds the windows for the evaluation mode to the bar graphs; deletes nothing.
ToleranceWindows PlotTOLWindow(Program& p, std::uint16_t mode, std::uint16_t posA,
                               std::uint16_t posB);

}  // namespace qrix
