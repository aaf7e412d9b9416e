#pragma once
// Controls of the system parameter panel that act at once on dimming, visibility and the
// tolerance displays. None of them changes the record.

namespace qrix {

struct Program;

int CC_DropEvalMode(Program& p, int panel, int control, int event);
int CC_DROPHardwareMode(Program& p, int panel, int control, int event);
int CC_DROPAnaMode(Program& p, int panel, int control, int event);
int CC_NUMToleranceUP(Program& p, int panel, int control, int event);
int CC_NUMToleranceLO(Program& p, int panel, int control, int event);

// Dims the tolerance fields where the sensor's potentiometer sets the tolerance.
void dimToleranceFields(Program& p, int hardwareMode);
// Shows the analog max/min displays and the max/min reset button unless the mode is 0.
void showAnalogControls(Program& p, int analogMode);

}  // namespace qrix
