#pragma once
// The figures of a stream of measurements: the measured value in virtual pixels and in
// micrometres and both sensors' edges, over all samples since a reset and over the last 100,
// 1000 and 10000, exactly; the judgement counters since the reset; and the measured value's
// histogram over any of those spans.

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "stats/histogram.h"
#include "stats/judgement.h"
#include "stats/running_stats.h"

namespace qrix::stats {

struct Measurement {
  std::int64_t valuePx = 0;  // a 16-bit count, as the sensor sends it
  std::int64_t valueUm = 0;
  std::int64_t masterEdge = 0, slaveEdge = 0;
};

enum class Quantity { ValuePx, ValueUm, MasterEdge, SlaveEdge };
inline constexpr int kQuantities = 4;

// Over which samples the figures are taken: all since the reset, or the last 100, 1000, 10000.
enum class Span { All, Last100, Last1000, Last10000 };
inline constexpr int kSpans = 4;

class MeasurementStatistics {
 public:
  MeasurementStatistics();

  void add(const Measurement& m, Judgement judgement);
  void reset();
  // The counters alone start again; the figures go on.
  void resetCounters() { counters_.reset(); }

  std::uint64_t count() const { return counters_.answers; }
  Summary summary(Quantity q, Span span) const;
  const JudgementCounters& counters() const { return counters_; }
  // The measured value in virtual pixels over the span, in bins laid on the limits; none when
  // the limits make no window.
  std::optional<Histogram> histogram(Span span, std::int64_t lower, std::int64_t upper) const;

 private:
  struct Track {
    RunningStats all;
    WindowStats last100{100}, last1000{1000}, last10000{10000};
  };
  static constexpr std::size_t kPxValues = 65536;
  std::array<Track, kQuantities> tracks_;
  JudgementCounters counters_;
  // The measured value's count per value since the reset, and its last 10000 values, so that a
  // histogram costs the values' range or the window, never all samples.
  std::vector<std::uint64_t> pxCounts_;
  std::deque<std::uint16_t> lastPx_;
  std::int64_t pxMin_ = 0, pxMax_ = -1;
};

}  // namespace qrix::stats
