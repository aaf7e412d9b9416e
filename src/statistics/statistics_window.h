#pragma once
// The statistics window: n, mean, standard deviation, minimum, maximum and range of the measured
// value (in virtual pixels and micrometres) and of both sensors' edges, Cp and Cpk of the value
// against the tolerance window, the counts inside, above and below it, and the value's histogram
// with the limits and the target drawn. Live from RUN, as a consumer of the program's RUN values,
// or from a recorder file; exported as a Q-DAS value file.

#include <memory>

#include "program/run_stream.h"

namespace qrix {

struct Program;

// The consumer that keeps the live figures (and, when the window is open, shows them at most five
// times a second); it also makes the window's book, which the callbacks below work on.
std::unique_ptr<RunConsumer> makeStatisticsConsumer(Program& p);

int CC_BTNStatistics(Program& p, int panel, int control, int event);
// Close box (and Escape) of the window.
int CC_STATISTICS(Program& p, int panel, int event);
// The span list and the limit fields: the figures follow at once.
int CC_StatShown(Program& p, int panel, int control, int event);
int CC_BTNStatReset(Program& p, int panel, int control, int event);
int CC_BTNStatOpen(Program& p, int panel, int control, int event);
int CC_BTNStatExport(Program& p, int panel, int control, int event);

}  // namespace qrix
