#include "stats/running_stats.h"

#include <algorithm>

namespace qrix::stats {

Summary summaryOf(const Moments& m, std::int64_t min, std::int64_t max) {
  Summary s;
  s.n = m.n();
  if (s.n == 0) {
    return s;
  }
  s.mean = m.mean();
  s.sd = m.sd();
  s.min = min;
  s.max = max;
  s.range = max - min;
  s.noSpread = s.n >= 2 && m.spread() == 0;
  return s;
}

void RunningStats::add(std::int64_t x) {
  moments_.add(x);
  if (moments_.n() == 1) {
    min_ = max_ = x;
  } else {
    min_ = std::min(min_, x);
    max_ = std::max(max_, x);
  }
}

Summary RunningStats::summary() const {
  return summaryOf(moments_, min_, max_);
}

WindowStats::ExtremeQueue::ExtremeQueue(std::size_t capacity, bool keepsMaximum)
    : indices_(capacity), values_(capacity), keepsMaximum_(keepsMaximum) {}

void WindowStats::ExtremeQueue::push(std::uint64_t index, std::int64_t x) {
  while (count_ > 0) {
    const std::int64_t newest = values_[at(count_ - 1)];
    if (keepsMaximum_ ? newest > x : newest < x) {
      break;
    }
    --count_;
  }
  // The window's samples are never more than the ring holds, and every one here is in it.
  indices_[at(count_)] = index;
  values_[at(count_)] = x;
  ++count_;
}

void WindowStats::ExtremeQueue::dropBefore(std::uint64_t index) {
  while (count_ > 0 && indices_[head_] < index) {
    head_ = (head_ + 1) % values_.size();
    --count_;
  }
}

WindowStats::WindowStats(std::size_t size)
    : ring_(std::max<std::size_t>(size, 1)), min_(ring_.size(), false), max_(ring_.size(), true) {}

void WindowStats::add(std::int64_t x) {
  const std::size_t slot = added_ % ring_.size();
  // Checked before anything leaves, so that a refused sample changes nothing.
  Moments::checkSample(x);
  if (added_ >= ring_.size()) {
    moments_.remove(ring_[slot]);
  }
  moments_.add(x);
  ring_[slot] = x;
  const std::uint64_t index = added_++;
  const std::uint64_t oldest = added_ > ring_.size() ? added_ - ring_.size() : 0;
  min_.dropBefore(oldest);
  max_.dropBefore(oldest);
  min_.push(index, x);
  max_.push(index, x);
}

void WindowStats::reset() {
  added_ = 0;
  moments_.reset();
  min_.clear();
  max_.clear();
}

Summary WindowStats::summary() const {
  if (moments_.n() == 0) {
    return {};
  }
  return summaryOf(moments_, min_.front(), max_.front());
}

}  // namespace qrix::stats
