#include "stats/judgement.h"

namespace qrix::stats {

Judgement judge(std::int64_t value, std::int64_t target, std::int64_t tolUp, std::int64_t tolLo) {
  if (value > target + tolUp) {
    return Judgement::Above;
  }
  if (value < target - tolLo) {
    return Judgement::Below;
  }
  return Judgement::Inside;
}

Judgement judgeInLimits(double value, double lower, double upper) {
  if (value > upper) {
    return Judgement::Above;
  }
  if (value < lower) {
    return Judgement::Below;
  }
  return Judgement::Inside;
}

void JudgementCounters::count(Judgement j) {
  ++answers;
  switch (j) {
    case Judgement::Inside: ++inside; break;
    case Judgement::Above: ++above; break;
    case Judgement::Below: ++below; break;
  }
}

std::optional<double> JudgementCounters::yieldPercent() const {
  if (answers == 0) {
    return std::nullopt;
  }
  return static_cast<double>(inside) * 100.0 / static_cast<double>(answers);
}

}  // namespace qrix::stats
