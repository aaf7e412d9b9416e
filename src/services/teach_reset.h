#pragma once
// TEACH (the sensor takes its current edge positions as new set-points) and RESET of the held
// maximum and minimum of the analog output. Both also work inside RUN, where any frame that
// arrives counts as their answer.

namespace qrix {

struct Program;

// Sends TEACH with frame 0 of the record; true when a frame answered it. The sensor's new
// set-points are then in its RAM, for a parameter read to fetch.
bool teachSetpoints(Program& p);

// Sends RESET of the held values; true when a frame acknowledged it. The outcome is in szStatus
// and the status line.
bool resetMaxMin(Program& p);

}  // namespace qrix
