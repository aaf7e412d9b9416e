#pragma once
// What the record must keep to and what it sets beyond itself, with or without a window: the
// range limits its fields take from the sensor's line length, and the threshold lines the
// curves and their exported columns draw from it.

#include <cstdint>
#include <vector>

#include "params/parameter_fields.h"

namespace qrix {

struct Program;

// Every field above what its control takes gets the control's replacement. What was replaced,
// in file order.
std::vector<LimitedField> LimitParameters(Program& p);
// The 128-point reference, tolerance, threshold and trigger lines.
void SetThresholds(Program& p);

// A line value limited to 0 .. n, computed without 16-bit wrap.
std::uint16_t clampLine(std::int32_t value, std::uint16_t n);
// Video-threshold line in ADC counts for a threshold in percent.
std::uint16_t videoThresholdCounts(std::uint16_t adcmax, std::uint16_t percent);

}  // namespace qrix
