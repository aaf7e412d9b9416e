#pragma once
// The bar graphs of a RUN answer: the value displays, each sensor's line with its zone bar and
// edge cursors, and the tolerance windows.

namespace qrix {

struct Program;

// Draws the RUN values last stored in the program state. Updates tVal, tolup, tollo, curposA
// and curposB; in evaluation modes 3 and 4 limits Mvalue to twice the virtual pixel count, so
// whatever draws or records this answer afterwards sees the limited value.
void PlotVIDEOBarGraph(Program& p);

}  // namespace qrix
