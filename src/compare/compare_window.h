#pragma once
// The parameter compare window: the three frames of the sensor's RAM and EEPROM, and of a
// parameter file when one is chosen, side by side with the differences marked. It only reads:
// no frame is written, and the record, the panels and the status line keep what they hold. It
// takes the line only when no other exchange holds it. A read that fails leaves no table.

namespace qrix {

struct Program;

// "Compare ...": opens the window in front and reads.
int CC_BTNCompare(Program& p, int panel, int control, int event);
// Close box: hides the window.
int CC_COMPARE(Program& p, int panel, int event);
// Reads RAM, EEPROM and the chosen file again.
int CC_BTNCompareRead(Program& p, int panel, int control, int event);
// Chooses a parameter file for the third column, then reads.
int CC_BTNCompareFile(Program& p, int panel, int control, int event);

}  // namespace qrix
