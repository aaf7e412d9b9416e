#pragma once
// The recorder window's buttons: the file choice, START and STOP, and the panel that shows a
// recording running and counts its lines.

#include <cstdint>

namespace qrix {

struct Program;

// START's recording: into rec_fname with the interval and sample count of the recorder panel,
// holding the line alone; the panel shows it running and counts its lines. Asks nothing.
std::uint16_t runRecording(Program& p);

int CC_CMDBTNrecfile(Program& p, int panel, int control, int event);
int CC_BTNStartRecord(Program& p, int panel, int control, int event);
int CC_BTNStopRecord(Program& p, int panel, int control, int event);

}  // namespace qrix
