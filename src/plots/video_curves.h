#pragma once
// The video curves: one sensor's intensity profile with its video-threshold line.

#include "program/program_state.h"

namespace qrix {

struct Program;

void PlotVIDEOCurveA(Program& p, const Line128& data, const Line128& threshold, const X128& x);
void PlotVIDEOCurveB(Program& p, const Line128& data, const Line128& threshold, const X128& x);

}  // namespace qrix
