#pragma once
// The binding between the parameter record and the parameter controls: controls into record,
// record (limited) into controls, and the threshold lines the curves draw.

#include <cstdint>
#include <vector>

#include "params/parameter_fields.h"
#include "params/record_limits.h"

namespace qrix {

struct Program;

// Every bound control into the record, then SetThresholds. No range check on the way in.
void GetPanelValues(Program& p);
// Range limits on the record, the record into every bound control, the derived displays and
// the mode-dependent dimming, SetThresholds, the raw graph's range, the video curves and the
// grey rectangles of the bar graphs.
void SetPanelValues(Program& p);
// Dimming and visibility that follow the record's modes: the power sliders by power mode, the
// tolerance fields by hardware mode, the analog max/min controls by analog mode.
void applyModeStates(Program& p);

}  // namespace qrix
