#pragma once
// VIDEO and DATA: one RUN exchange, then the sensors' 128-word buffers as four 64-word blocks,
// drawn as curves. VIDEO repeats until STOP; DATA runs once per press.

namespace qrix {

struct Program;

// The VIDEO loop; returns when stop_flag is set.
void PushVIDEO(Program& p);
// One DATA transfer.
void PushDATA(Program& p);

int CC_BTNVideo(Program& p, int panel, int control, int event);
int CC_BTNData(Program& p, int panel, int control, int event);

}  // namespace qrix
