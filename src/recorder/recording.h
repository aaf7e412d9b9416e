#pragma once
// The data recorder: its own RUN exchange, whose answers are drawn as during RUN and, once per
// interval of whole seconds, appended to the recorder file; the file choice, START and STOP.

#include <cstdint>

namespace qrix {

struct Program;

// Runs one recording into rec_fname with the interval and sample count of the recorder panel,
// holding the line alone, until the count is reached, stop_flag rises, the line falls silent or
// the file cannot be written. Asks nothing: an existing file is replaced. Returns the number of
// sample lines written.
std::uint16_t runRecording(Program& p);

int CC_CMDBTNrecfile(Program& p, int panel, int control, int event);
int CC_BTNStartRecord(Program& p, int panel, int control, int event);
int CC_BTNStopRecord(Program& p, int panel, int control, int event);

}  // namespace qrix
