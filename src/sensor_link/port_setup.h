#pragma once
// Opening the serial port with the fixed settings and identifying the sensor behind it.

#include "services/sensor_line.h"

namespace qrix {

struct Program;

// Opens the port, installs the receive notification and runs the identification sequence:
// line check, hardware information, parameter frames 0, 1, 2 from RAM, firmware text, each
// step after a pause of 0.1 s. The outcome is the text in szStatus, shown at the end.
void InitRS232(Program& p, int port);
// Port drop-down: commit stops any running loop and reopens the link on the chosen port.
int CC_DropDCom(Program& p, int panel, int control, int event);
// Fills the port drop-down with the ports the serial library knows.
void fillPortList(Program& p);
// Follows the serial library's lines: lost devices and the port list as devices come and go.
void watchSerialLines(Program& p);

}  // namespace qrix
