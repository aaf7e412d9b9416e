#include "stats/measurement_statistics.h"

#include <algorithm>
#include <iterator>

namespace qrix::stats {

namespace {

constexpr std::size_t kLongestWindow = 10000;

std::int64_t valueOf(const Measurement& m, int quantity) {
  switch (static_cast<Quantity>(quantity)) {
    case Quantity::ValuePx: return m.valuePx;
    case Quantity::ValueUm: return m.valueUm;
    case Quantity::MasterEdge: return m.masterEdge;
    case Quantity::SlaveEdge: return m.slaveEdge;
  }
  return 0;
}

std::size_t windowOf(Span span) {
  switch (span) {
    case Span::Last100: return 100;
    case Span::Last1000: return 1000;
    case Span::Last10000: return 10000;
    case Span::All: break;
  }
  return 0;
}

// Adds a value's count to its bin, or to the counts beyond the outermost bins.
void countInto(Histogram& h, std::int64_t x, std::uint64_t count) {
  const std::int64_t bin = h.binOf(x);
  const std::int64_t top = h.firstBin + static_cast<std::int64_t>(h.counts.size()) - 1;
  if (bin < h.firstBin) {
    h.beyondLow += count;
  } else if (bin > top) {
    h.beyondHigh += count;
  } else {
    h.counts[static_cast<std::size_t>(bin - h.firstBin)] += count;
  }
}

}  // namespace

MeasurementStatistics::MeasurementStatistics() : pxCounts_(kPxValues) {}

void MeasurementStatistics::add(const Measurement& m, Judgement judgement) {
  for (int q = 0; q < kQuantities; ++q) {
    const std::int64_t x = valueOf(m, q);
    Track& t = tracks_[static_cast<std::size_t>(q)];
    t.all.add(x);
    t.last100.add(x);
    t.last1000.add(x);
    t.last10000.add(x);
  }
  counters_.count(judgement);
  const auto px = static_cast<std::uint16_t>(std::clamp<std::int64_t>(m.valuePx, 0, 65535));
  ++pxCounts_[px];
  pxMin_ = pxMax_ < pxMin_ ? px : std::min<std::int64_t>(pxMin_, px);
  pxMax_ = std::max<std::int64_t>(pxMax_, px);
  lastPx_.push_back(px);
  if (lastPx_.size() > kLongestWindow) {
    lastPx_.pop_front();
  }
}

void MeasurementStatistics::reset() {
  for (Track& t : tracks_) {
    t.all.reset();
    t.last100.reset();
    t.last1000.reset();
    t.last10000.reset();
  }
  counters_.reset();
  std::fill(pxCounts_.begin(), pxCounts_.end(), 0);
  lastPx_.clear();
  pxMin_ = 0;
  pxMax_ = -1;
}

Summary MeasurementStatistics::summary(Quantity q, Span span) const {
  const Track& t = tracks_[static_cast<std::size_t>(q)];
  switch (span) {
    case Span::All: return t.all.summary();
    case Span::Last100: return t.last100.summary();
    case Span::Last1000: return t.last1000.summary();
    case Span::Last10000: return t.last10000.summary();
  }
  return {};
}

std::optional<Histogram> MeasurementStatistics::histogram(Span span, std::int64_t lower,
                                                          std::int64_t upper) const {
  if (span == Span::All) {
    std::optional<Histogram> h = histogramBins(lower, upper, pxMax_ < pxMin_ ? 1 : pxMin_, pxMax_);
    if (h) {
      for (std::int64_t x = pxMin_; x <= pxMax_; ++x) {
        if (const std::uint64_t n = pxCounts_[static_cast<std::size_t>(x)]; n > 0) {
          countInto(*h, x, n);
        }
      }
    }
    return h;
  }
  const std::size_t n = std::min(windowOf(span), lastPx_.size());
  std::vector<std::int64_t> values(lastPx_.end() - static_cast<std::ptrdiff_t>(n), lastPx_.end());
  return stats::histogram(lower, upper, values);
}

}  // namespace qrix::stats
