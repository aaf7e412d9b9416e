#pragma once
// The consumers of RUN values that the window lists at start-up. A new consumer is a class of
// its own and one line in listRunConsumers.

namespace qrix {

struct Program;

// Adds, in this order: the bar graphs with their numbers and tolerance windows, the raw strip
// chart.
void listRunConsumers(Program& p);

}  // namespace qrix
