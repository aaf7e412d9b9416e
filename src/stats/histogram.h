#pragma once
// Histogram bins laid on the tolerance window: the window from the lower limit L to the upper
// limit U is split in k equal bins (k from 10 to 20, a whole bin width where one exists), so
// that both limits fall on bin edges, and bins of the same width continue beyond the limits as
// far as the data reach. Bins hold [from, to); the window's top bin also holds U itself, so the
// bins inside the window count exactly the values judged inside. Edges and bin numbers are
// worked out in integers: no value lands in a neighbouring bin by rounding.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qrix::stats {

struct Histogram {
  std::int64_t lower = 0, upper = 0;
  int windowBins = 0;  // k
  // The bins, lowest first; bin i starts at edge(firstBin + i). firstBin <= 0.
  int firstBin = 0;
  std::vector<std::uint64_t> counts;
  // Values beyond the outermost bins, when the data reach further than kMostOuterBins.
  std::uint64_t beyondLow = 0, beyondHigh = 0;

  // Bins beyond each limit at most, so that a far outlier cannot ask for millions of bins.
  static constexpr int kMostOuterBins = 200;

  double width() const;
  // The edge of bin number `bin`: L + bin * (U - L) / k; edge(0) is L, edge(k) is U.
  double edge(int bin) const;
  // Where in `counts` the window's first bin is.
  int windowStart() const { return -firstBin; }
  // The bin number of a value, relative to L (bin 0 starts at L, bin k - 1 ends at U).
  std::int64_t binOf(std::int64_t x) const;
};

// The bins for the window and a data range (no counts yet); none when U <= L or a limit is
// beyond 32 bits. Without data
// (min > max) the bins are the window's own.
std::optional<Histogram> histogramBins(std::int64_t lower, std::int64_t upper, std::int64_t dataMin,
                                       std::int64_t dataMax);
// The bins for the values, and the count of values in each.
std::optional<Histogram> histogram(std::int64_t lower, std::int64_t upper,
                                   std::span<const std::int64_t> values);

}  // namespace qrix::stats
