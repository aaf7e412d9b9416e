#pragma once
// Statistics of integer samples as they arrive: over all samples since a reset, and over the
// last N samples exactly (the oldest leaves the sums as the newest enters; the window's minimum
// and maximum come from monotonic queues, so no sample is ever searched for).

#include <cstddef>
#include <cstdint>
#include <vector>

#include "stats/moments.h"

namespace qrix::stats {

// n, mean, sd, min, max and range of the sums and the extremes.
Summary summaryOf(const Moments& m, std::int64_t min, std::int64_t max);

class RunningStats {
 public:
  void add(std::int64_t x);
  void reset() { *this = {}; }
  const Moments& moments() const { return moments_; }
  Summary summary() const;

 private:
  Moments moments_;
  std::int64_t min_ = 0, max_ = 0;
};

class WindowStats {
 public:
  // The window sizes the displays offer.
  static constexpr std::size_t kSizes[] = {100, 1000, 10000};

  // A window of the last `size` samples; size 0 is taken as 1.
  explicit WindowStats(std::size_t size);
  void add(std::int64_t x);
  void reset();
  std::size_t size() const { return ring_.size(); }
  const Moments& moments() const { return moments_; }
  Summary summary() const;

 private:
  // The candidates for the window's extreme, oldest first, in a ring of the window's size: a
  // sample leaves when a newer one is at least as extreme, or when it leaves the window.
  class ExtremeQueue {
   public:
    ExtremeQueue(std::size_t capacity, bool keepsMaximum);
    void push(std::uint64_t index, std::int64_t x);
    void dropBefore(std::uint64_t index);
    std::int64_t front() const { return values_[head_]; }
    void clear() { head_ = count_ = 0; }

   private:
    std::size_t at(std::size_t i) const { return (head_ + i) % values_.size(); }
    std::vector<std::uint64_t> indices_;
    std::vector<std::int64_t> values_;
    std::size_t head_ = 0, count_ = 0;
    bool keepsMaximum_;
  };

  std::vector<std::int64_t> ring_;
  std::uint64_t added_ = 0;  // samples since the reset; the next one's index
  Moments moments_;
  ExtremeQueue min_, max_;
};

}  // namespace qrix::stats
