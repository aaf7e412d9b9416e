#pragma once
// VIDEO and DATA: one RUN exchange, then the sensors' 128-word buffers as four 64-word blocks,
// drawn as curves. VIDEO repeats until STOP; DATA runs once per press.

namespace qrix {

struct Program;

// One pass of each: a RUN exchange and the four blocks into the buffers, nothing drawn. True
// when the RUN answer and every block arrived. The caller holds the line.
bool readVideoPass(Program& p);
bool readDataPass(Program& p);

// The VIDEO loop; returns when stop_flag is set.
void PushVIDEO(Program& p);
// One DATA transfer.
void PushDATA(Program& p);

int CC_BTNVideo(Program& p, int panel, int control, int event);
int CC_BTNData(Program& p, int panel, int control, int event);

}  // namespace qrix
