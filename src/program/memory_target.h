#pragma once
// The memory target of GET and SEND: the sensor's RAM, its EEPROM or a parameter file, shown by
// three radio buttons of which exactly one is on.

namespace qrix {

struct Program;

inline constexpr int kTargetRam = 1;
inline constexpr int kTargetEeprom = 2;
inline constexpr int kTargetFile = 3;

// Switches the memory target, keeping exactly one radio button on.
void setMemoryTarget(Program& p, int target);

}  // namespace qrix
