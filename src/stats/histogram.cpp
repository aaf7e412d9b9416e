#include "stats/histogram.h"

#include <algorithm>

#include "stats/moments.h"

namespace qrix::stats {

namespace {

constexpr int kFewestBins = 10, kMostBins = 20;

// Integer division rounding down, also for negative numerators.
Int128 floorDiv(Int128 a, Int128 b) {
  Int128 q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) {
    --q;
  }
  return q;
}

// The most bins whose width is a whole number, else the most bins.
int binsFor(std::int64_t span) {
  for (int k = kMostBins; k >= kFewestBins; --k) {
    if (span % k == 0) {
      return k;
    }
  }
  return kMostBins;
}

}  // namespace

double Histogram::width() const {
  return static_cast<double>(upper - lower) / windowBins;
}

double Histogram::edge(int bin) const {
  return static_cast<double>(lower) +
         static_cast<double>(Int128{bin} * (upper - lower)) / windowBins;
}

std::int64_t Histogram::binOf(std::int64_t x) const {
  if (x == upper) {
    return windowBins - 1;
  }
  return static_cast<std::int64_t>(floorDiv((Int128{x} - lower) * windowBins, upper - lower));
}

std::optional<Histogram> histogramBins(std::int64_t lower, std::int64_t upper, std::int64_t dataMin,
                                       std::int64_t dataMax) {
  if (upper <= lower || lower < -kLargestSample || upper > kLargestSample) {
    return std::nullopt;
  }
  Histogram h;
  h.lower = lower;
  h.upper = upper;
  h.windowBins = binsFor(upper - lower);
  std::int64_t first = 0, last = h.windowBins - 1;
  if (dataMin <= dataMax) {
    first = std::min<std::int64_t>(first, h.binOf(dataMin));
    last = std::max<std::int64_t>(last, h.binOf(dataMax));
  }
  first = std::max<std::int64_t>(first, -Histogram::kMostOuterBins);
  last = std::min<std::int64_t>(last, h.windowBins - 1 + Histogram::kMostOuterBins);
  h.firstBin = static_cast<int>(first);
  h.counts.assign(static_cast<std::size_t>(last - first + 1), 0);
  return h;
}

std::optional<Histogram> histogram(std::int64_t lower, std::int64_t upper,
                                   std::span<const std::int64_t> values) {
  std::int64_t min = 1, max = 0;
  if (!values.empty()) {
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    min = *lo;
    max = *hi;
  }
  std::optional<Histogram> h = histogramBins(lower, upper, min, max);
  if (!h) {
    return h;
  }
  const std::int64_t top = h->firstBin + static_cast<std::int64_t>(h->counts.size()) - 1;
  for (std::int64_t x : values) {
    const std::int64_t bin = h->binOf(x);
    if (bin < h->firstBin) {
      ++h->beyondLow;
    } else if (bin > top) {
      ++h->beyondHigh;
    } else {
      ++h->counts[static_cast<std::size_t>(bin - h->firstBin)];
    }
  }
  return h;
}

}  // namespace qrix::stats
