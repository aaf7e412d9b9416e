#pragma once
// A RUN answer against the tolerance window, as the bar graphs colour it: above the target plus
// its upper tolerance, below the target minus its lower tolerance, else inside (both limits
// belong to the window).

#include <cstdint>
#include <optional>

namespace qrix::stats {

enum class Judgement { Inside, Above, Below };

Judgement judge(std::int64_t value, std::int64_t target, std::int64_t tolUp, std::int64_t tolLo);
// The same for a window given by its limits.
Judgement judgeInLimits(double value, double lower, double upper);

struct JudgementCounters {
  std::uint64_t answers = 0, inside = 0, above = 0, below = 0;

  void count(Judgement j);
  // inside / answers * 100; none before the first answer.
  std::optional<double> yieldPercent() const;
  void reset() { *this = {}; }
};

}  // namespace qrix::stats
