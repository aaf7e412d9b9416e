#pragma once
// One-shot commands of the main panel: TEACH (the sensor takes its current edge positions as
// new set-points, then the three frames are read back) and RESET of the held max/min values.
// Both also work inside RUN, where any frame that arrives counts as their answer.

namespace qrix {

struct Program;

int CC_ButtonTeach(Program& p, int panel, int control, int event);
int CC_ButtonReset(Program& p, int panel, int control, int event);
// The outcome is in szStatus and the status line.
void ResetMaxMin(Program& p);

}  // namespace qrix
