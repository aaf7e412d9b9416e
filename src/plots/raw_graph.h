#pragma once
// The raw strip chart of RUN: a rolling history of the last 100 RUN answers drawn as seven
// traces, either the measurement view (target, value, analog output, tolerance lines) or the
// edge view (both edge positions).

#include <array>

namespace qrix {

struct Program;

// What each of the seven traces shows, in trace order (all in virtual pixels).
inline constexpr std::array<const char*, 7> kRawTraceNames = {
    "target",          "value",       "analog output", "upper tolerance",
    "lower tolerance", "master edge", "slave edge"};

// Adds the RUN values last stored in the program state to the history and redraws it. Updates
// tVal, tolup and tollo as the bar graphs do.
void PlotRAWGraph(Program& p);

}  // namespace qrix
