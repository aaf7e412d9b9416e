#pragma once
// RUN: the continuous exchange of RUN frames whose answers feed the bar graphs and the raw
// strip chart, and STOP, which ends RUN, VIDEO and DATA.

namespace qrix {

struct Program;

// The RUN time-out: no frame for this long after a request ends RUN.
inline constexpr double kRunTimeout = 3.0;

// The RUN loop; returns when STOP, a time-out or another action raised stop_flag.
void PushRUN(Program& p);

int CC_BTNRun(Program& p, int panel, int control, int event);
int CC_BTNStop(Program& p, int panel, int control, int event);

}  // namespace qrix
