#pragma once
// The recorder's total duration display: interval times samples as days, hours, minutes, seconds.

#include <cstdint>

namespace qrix {

struct Program;

struct Duration {
  std::uint16_t days, hours, minutes, seconds;
};

Duration splitDuration(std::uint32_t totalSeconds);
void CalcRecTime(Program& p);

}  // namespace qrix
