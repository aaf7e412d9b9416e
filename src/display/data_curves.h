#pragma once
// The data curves: one sensor's measurement history with its trigger, tolerance and teach lines.

#include "shell/program_state.h"

namespace qrix {

struct Program;

// The data graphs' x-axis is fixed at 0 to 254: 128 buffer words drawn at x = 0, 2, ..., 254.
inline constexpr double kDataAxisMax = 254.0;

void PlotDATACurveA(Program& p, const Line128& data, const X128& x);
void PlotDATACurveB(Program& p, const Line128& data, const X128& x);

}  // namespace qrix
