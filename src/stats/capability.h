#pragma once
// Process capability against a lower and an upper limit: Cp = (U - L) / (6 sd) and
// Cpk = min(U - mean, mean - L) / (3 sd). Without a figure to give (too few values, no spread,
// limits that make no window) there is none, and the reason in words instead.

#include <optional>
#include <string>

#include "stats/moments.h"

namespace qrix::stats {

struct Capability {
  std::optional<double> cp, cpk;
  std::string reason;  // why there is no figure; empty when there is one
};

Capability capability(const Summary& s, double lower, double upper);

}  // namespace qrix::stats
