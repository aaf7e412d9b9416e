#pragma once
// GET and SEND of the three parameter frames to the sensor's RAM or EEPROM or a parameter file,
// and the radio buttons that choose the memory target.

#include <cstdint>

namespace qrix {

struct Program;

inline constexpr int kTargetRam = 1;
inline constexpr int kTargetEeprom = 2;
inline constexpr int kTargetFile = 3;

// Reads one parameter frame from RAM (target 1) or EEPROM (2) into the record; with target 3
// it only refreshes the status line. After frame 2 the panels are rewritten from the record and
// the tolerance window is redrawn. True when the frame arrived (always true for target 3).
bool PushGET(Program& p, std::uint16_t target, std::uint16_t frame);

int CC_BTNSend(Program& p, int panel, int control, int event);
int CC_BTNGet(Program& p, int panel, int control, int event);
// The three memory-target radio buttons; they act on value changed.
int CC_RBTRam(Program& p, int panel, int control, int event);
int CC_RBTEeprom(Program& p, int panel, int control, int event);
int CC_RBTFile(Program& p, int panel, int control, int event);
// Switches the memory target, keeping exactly one radio button on.
void setMemoryTarget(Program& p, int target);

}  // namespace qrix
