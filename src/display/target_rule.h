#pragma once
// The target value and the tolerances that the bar graphs, the raw strip chart and the tolerance
// windows draw against, recomputed from the record and the last RUN answer.

#include "shell/program_state.h"

namespace qrix {

// tVal by the evaluation mode (an unknown mode keeps the last tVal); in mode 2 a tolerance field
// of 0 is raised to 1 in the record. Then tolup and tollo: the tolerance fields in hardware
// modes 0 and 2, the sensor's potentiometer otherwise.
void updateTargetAndTolerance(ProgramState& st);

}  // namespace qrix
