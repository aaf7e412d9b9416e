#pragma once
// The serial line to the sensor pair: opening it with the fixed settings, and what happens when
// its device goes away.

#include <string>

namespace qrix {

struct Program;
namespace serial {
class SerialLibrary;
}

// Opens the port at 19200 baud 8N1, with the time-out, both queues discarded, no handshake and
// the receive notification installed; logs it and tells the link health. False when it could
// not be opened (szStatus then says why).
bool openLine(Program& p, int port);

// The status text for a negative open result of the serial library.
std::string openErrorText(int code);

// The device of the open port went away. The exchange running then ends on its own text; once
// the callback that ran it has returned, the port is closed and the status line says "Serial
// port lost!". The tool never moves to another port by itself: choosing the port again reopens
// it.
void onSerialLineLost(Program& p, int port);
// Tells of a line lost inside a callback, once the outermost callback has returned.
void reportPendingLineLoss(Program& p);
// From now on a lost device is handled as above.
void followLineLoss(Program& p);

// The port a --port value names: "sim" the simulator, digits a port number, anything else a
// device path, which joins the port list.
int portOfArgument(serial::SerialLibrary& serial, const std::string& value);

}  // namespace qrix
