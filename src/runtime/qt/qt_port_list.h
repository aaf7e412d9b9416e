#pragma once
// The serial ports the program offers, numbered from 1 in an order that does not change
// between runs: on Windows port n is COMn; elsewhere ttyS*, then ttyUSB*, then ttyACM*, then
// the rest, each numerically sorted. Pseudo terminals are not listed: the program adds
// explicit paths itself.

#include <string>
#include <vector>

#include "runtime/serial_library.h"

namespace qrix::qt {

std::vector<serial::PortEntry> enumeratePorts();

// The numbering of a set of device paths ("/dev/ttyUSB0", ...), labelled "COM3  /dev/ttyUSB0".
std::vector<serial::PortEntry> numberDevicePaths(std::vector<std::string> paths);

}  // namespace qrix::qt
