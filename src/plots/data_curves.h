#pragma once
// The data curves: one sensor's measurement history with its trigger, tolerance and teach lines.

#include "program/program_state.h"

namespace qrix {

struct Program;

// Neither sets the x-axis: the panel fixes it at 0 to 254, where the 128 buffer words lie at
// x = 0, 2, ..., 254.
void PlotDATACurveA(Program& p, const Line128& data, const X128& x);
void PlotDATACurveB(Program& p, const Line128& data, const X128& x);

}  // namespace qrix
