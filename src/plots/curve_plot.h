#pragma once
// Drawing one 128-point curve of 16-bit words into a graph.

#include "program/program_state.h"
#include "runtime/ui_model.h"

namespace qrix {

int plotWords(ui::UiModel& ui, int panel, int graph, const X128& x, const Line128& y,
              ui::Rgb colour, int plotStyle, int pointStyle, int lineStyle);

}  // namespace qrix
