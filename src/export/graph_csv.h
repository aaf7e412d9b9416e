#pragma once
// The data behind the main panel's graphs as CSV: a header line naming the columns with their
// units, then one line per point. `,` between values and `.` as the decimal mark whatever the
// locale, CRLF line ends: a spreadsheet opens the file as it is.

#include <string>

namespace qrix {

struct ProgramState;

// Which sensor's columns a curve table holds.
enum class Sensors { Both, Master, Slave };

// The last VIDEO pass: position, video and threshold line of each sensor.
std::string videoCsv(const ProgramState& st, Sensors sensors = Sensors::Both);
// The last DATA pass: position, measurement and trigger, upper, reference and lower lines.
std::string dataCsv(const ProgramState& st, Sensors sensors = Sensors::Both);
// The raw strip chart's history: its 700 values as 100 samples of its seven traces, oldest
// first, numbered so that the newest is 0.
std::string stripChartCsv(const ProgramState& st);
// The values the bar graphs show for the last RUN answer, in one line.
std::string barValuesCsv(const ProgramState& st);

}  // namespace qrix
