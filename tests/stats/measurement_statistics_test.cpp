// The figures of a stream of measurements: each quantity in its own track, the spans of the
// last answers against all since the reset, and the histogram over all answers (kept as counts
// per value) equal to the one over the values themselves.

#include "stats/measurement_statistics.h"

#include <gtest/gtest.h>

#include <vector>

namespace qrix::stats {
namespace {

TEST(MeasurementStatistics, EachQuantityAndSpanKeepsItsOwnFiguresAndTheHistogramsAgree) {
  MeasurementStatistics m;
  std::vector<std::int64_t> px;
  for (int i = 0; i < 1500; ++i) {
    const std::int64_t value = 1700 + (i * 37) % 151;  // 1700 .. 1850, every value hit
    px.push_back(value);
    m.add({value, -value * 3, 1000 + i % 7, 2000 + i % 5},
          value > 1800 ? Judgement::Above : Judgement::Inside);
  }
  EXPECT_EQ(m.count(), 1500u);
  EXPECT_EQ(m.summary(Quantity::ValuePx, Span::All).n, 1500u);
  EXPECT_EQ(m.summary(Quantity::ValuePx, Span::Last1000).n, 1000u);
  EXPECT_EQ(m.summary(Quantity::ValuePx, Span::Last100).n, 100u);
  EXPECT_EQ(*m.summary(Quantity::ValueUm, Span::All).max, -5100);
  EXPECT_EQ(*m.summary(Quantity::MasterEdge, Span::All).range, 6);
  EXPECT_EQ(*m.summary(Quantity::SlaveEdge, Span::All).range, 4);
  EXPECT_EQ(m.counters().above, 497u);

  const std::optional<Histogram> fromCounts = m.histogram(Span::All, 1720, 1820);
  const std::optional<Histogram> fromValues = histogram(1720, 1820, px);
  ASSERT_TRUE(fromCounts && fromValues);
  EXPECT_EQ(fromCounts->counts, fromValues->counts);
  EXPECT_EQ(fromCounts->firstBin, fromValues->firstBin);
  const std::vector<std::int64_t> last100(px.end() - 100, px.end());
  EXPECT_EQ(m.histogram(Span::Last100, 1720, 1820)->counts, histogram(1720, 1820, last100)->counts);
  EXPECT_FALSE(m.histogram(Span::All, 1820, 1720));

  m.reset();
  EXPECT_EQ(m.summary(Quantity::ValuePx, Span::Last100).n, 0u);
  EXPECT_EQ(m.counters().answers, 0u);
  std::uint64_t binned = 0;
  const std::optional<Histogram> empty = m.histogram(Span::All, 1720, 1820);
  ASSERT_TRUE(empty);
  for (std::uint64_t n : empty->counts) {
    binned += n;
  }
  EXPECT_EQ(binned, 0u);
}

}  // namespace
}  // namespace qrix::stats
