#include "stats/capability.h"

#include <algorithm>
#include <cmath>

namespace qrix::stats {

Capability capability(const Summary& s, double lower, double upper) {
  Capability c;
  if (!(upper > lower)) {
    c.reason = "no window: upper limit not above lower limit";
  } else if (s.n < 2 || !s.sd || !s.mean) {
    c.reason = "fewer than two values";
  } else if (s.noSpread || *s.sd == 0) {
    // noSpread comes from the exact sums: a tiny spread is still a spread.
    c.reason = "no spread: all values equal";
  } else {
    c.cp = (upper - lower) / (6 * *s.sd);
    c.cpk = std::min(upper - *s.mean, *s.mean - lower) / (3 * *s.sd);
  }
  return c;
}

}  // namespace qrix::stats
