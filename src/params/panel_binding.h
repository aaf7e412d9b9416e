#pragma once
// The binding between the parameter record and the parameter controls: controls into record,
// record (limited) into controls, and the threshold lines the curves draw.

#include <cstdint>
#include <vector>

#include "params/parameter_fields.h"

namespace qrix {

struct Program;

// Every bound control into the record, then SetThresholds. No range check on the way in.
void GetPanelValues(Program& p);
// Range limits on the record, the record into every bound control, the derived displays and
// the mode-dependent dimming, SetThresholds, the raw graph's range, the video curves and the
// grey rectangles of the bar graphs.
void SetPanelValues(Program& p);
// The 128-point reference, tolerance, threshold and trigger lines.
void SetThresholds(Program& p);
// Only the range limits of SetPanelValues: every field above what its control takes gets the
// control's replacement. What was replaced, in file order.
std::vector<LimitedField> LimitParameters(Program& p);
// Dimming and visibility that follow the record's modes: the power sliders by power mode, the
// tolerance fields by hardware mode, the analog max/min controls by analog mode.
void applyModeStates(Program& p);

// A line value limited to 0 .. n, computed without 16-bit wrap.
std::uint16_t clampLine(std::int32_t value, std::uint16_t n);
// Video-threshold line in ADC counts for a threshold in percent.
std::uint16_t videoThresholdCounts(std::uint16_t adcmax, std::uint16_t percent);

}  // namespace qrix
