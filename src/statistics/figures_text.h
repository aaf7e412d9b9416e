#pragma once
// The statistics window's figures as a fixed-pitch table: one row per quantity (n, mean, sd,
// min, max, range), then the capability against the tolerance window and the counters.

#include <cstdint>
#include <optional>
#include <string>

#include "stats/measurement_statistics.h"

namespace qrix {

struct ToleranceLimits {
  std::int64_t lower = 0, upper = 0;
};

// `limits`: the window the capability is taken against, none before the first RUN answer.
// `countersLabel`: where the counters are counted ("Since the reset", "In the recording").
// Without `judged` the answers were judged against no window (typed limits that make none):
// the counters then give the count alone, not counts of nothing.
std::string figuresText(const stats::MeasurementStatistics& figures, stats::Span span,
                        const std::optional<ToleranceLimits>& limits,
                        const std::string& countersLabel, bool judged = true);

}  // namespace qrix
