#pragma once
// The buffers of one VIDEO or DATA pass as CSV: a header line naming the columns, then one line
// per curve point, `,` between values. The position is the curve's x value; the other columns
// are the words the window draws at it.

#include <string>

namespace qrix {
struct ProgramState;
}

namespace qrix::cli {

// position, master and slave video, and their threshold lines.
std::string videoCsv(const ProgramState& st);
// position, master and slave measurement, and their trigger, upper, reference and lower lines.
std::string dataCsv(const ProgramState& st);

}  // namespace qrix::cli
