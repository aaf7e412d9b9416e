#pragma once
// Opening the serial port with the fixed settings and identifying the sensor behind it.

#include <string>

namespace qrix {

struct Program;
namespace serial {
class SerialLibrary;
}

// Opens the port, installs the receive notification and runs the identification sequence:
// line check, hardware information, parameter frames 0, 1, 2 from RAM, firmware text, each
// step after a pause of 0.1 s. The outcome is the text in szStatus, shown at the end.
void InitRS232(Program& p, int port);
// The status text for a negative open result of the serial library.
std::string openErrorText(int code);
// Port drop-down: commit stops any running loop and reopens the link on the chosen port.
int CC_DropDCom(Program& p, int panel, int control, int event);
// Fills the port drop-down with the ports the serial library knows.
void fillPortList(Program& p);
// The device of the open port went away. The exchange running then ends on its own text; once
// the callback that ran it has returned, the port is closed and the status line says "Serial
// port lost!". The tool never moves to another port by itself: choosing the port again reopens
// it.
void onSerialLineLost(Program& p, int port);
// Tells of a line lost inside a callback, once the outermost callback has returned.
void reportPendingLineLoss(Program& p);
// Follows the serial library's lines: lost devices and the port list as devices come and go.
void watchSerialLines(Program& p);
// The port a --port value names: "sim" the simulator, digits a port number, anything else a
// device path, which joins the port list.
int portOfArgument(serial::SerialLibrary& serial, const std::string& value);

}  // namespace qrix
