#pragma once
// What the consumers of a RUN answer take: the bar graphs, the numbers, the raw strip chart and
// the recorder read these values and change none of them. They are computed once per answer,
// from the record and the answer's words, right after the words were taken.

#include "program/program_state.h"

namespace qrix {

// tVal by the evaluation mode (an unknown mode keeps the last tVal); in mode 2 a tolerance field
// of 0 is raised to 1 in the record. Then tolup and tollo: the tolerance fields in hardware
// modes 0 and 2, the sensor's potentiometer otherwise. The cursor positions: each edge position
// kept on its line. MvalueHeld: the measured value as the raw chart draws it and the recorder
// writes it; in evaluation modes 3 and 4 a value past the end of both lines is held at twice the
// line's length.
void deriveRunValues(ProgramState& st);

}  // namespace qrix
