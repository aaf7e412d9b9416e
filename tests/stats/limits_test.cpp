// Samples against limits: the judgement at and past each side of an asymmetric window, the
// counters' yield, Cp and Cpk worked out by hand and their refusals, and histogram bins whose
// edges meet the limits.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "stats/capability.h"
#include "stats/histogram.h"
#include "stats/judgement.h"
#include "stats/running_stats.h"

namespace qrix::stats {
namespace {

TEST(Judgement, BothLimitsBelongToTheWindowOfAnAsymmetricTolerance) {
  // Target 1000, 30 up, 10 down: the window is 990..1030.
  EXPECT_EQ(judge(1030, 1000, 30, 10), Judgement::Inside);
  EXPECT_EQ(judge(1031, 1000, 30, 10), Judgement::Above);
  EXPECT_EQ(judge(990, 1000, 30, 10), Judgement::Inside);
  EXPECT_EQ(judge(989, 1000, 30, 10), Judgement::Below);
  EXPECT_EQ(judgeInLimits(12.5, 12.5, 20), Judgement::Inside);
  EXPECT_EQ(judgeInLimits(12.4, 12.5, 20), Judgement::Below);
  EXPECT_EQ(judgeInLimits(20.1, 12.5, 20), Judgement::Above);

  JudgementCounters counters;
  EXPECT_FALSE(counters.yieldPercent());
  for (Judgement j : {Judgement::Inside, Judgement::Above, Judgement::Inside, Judgement::Below,
                      Judgement::Inside, Judgement::Inside, Judgement::Below, Judgement::Inside}) {
    counters.count(j);
  }
  EXPECT_EQ(counters.answers, 8u);
  EXPECT_EQ(counters.inside, 5u);
  EXPECT_EQ(counters.above, 1u);
  EXPECT_EQ(counters.below, 2u);
  EXPECT_DOUBLE_EQ(*counters.yieldPercent(), 62.5);
  counters.reset();
  EXPECT_EQ(counters.answers, 0u);
  EXPECT_FALSE(counters.yieldPercent());
}

Summary summaryOfValues(std::initializer_list<int> values) {
  RunningStats stats;
  for (int x : values) {
    stats.add(x);
  }
  return stats.summary();
}

TEST(Capability, CpAndCpkOfAnOffCentreProcessAndTheReasonsForNone) {
  // 3, -1, 7, 5: mean 3.5, sd sqrt(35 / 3); limits -4 and 12, nearer the lower one.
  const Capability c = capability(summaryOfValues({3, -1, 7, 5}), -4, 12);
  ASSERT_TRUE(c.cp && c.cpk) << c.reason;
  EXPECT_NEAR(*c.cp, 0.7807200583588266, 1e-12);
  EXPECT_NEAR(*c.cpk, 0.7319250547113999, 1e-12);
  EXPECT_EQ(c.reason, "");
  // Nearer the upper one: 3.5 up to 6 is the short side.
  EXPECT_NEAR(*capability(summaryOfValues({3, -1, 7, 5}), -10, 6).cpk, 0.2439750182371333, 1e-12);

  const auto none = [](const Capability& c) { return c.cp || c.cpk ? "a figure" : c.reason; };
  EXPECT_EQ(none(capability(summaryOfValues({}), 0, 10)), "fewer than two values");
  EXPECT_EQ(none(capability(summaryOfValues({4}), 0, 10)), "fewer than two values");
  EXPECT_EQ(none(capability(summaryOfValues({4, 4, 4}), 0, 10)), "no spread: all values equal");
  EXPECT_EQ(none(capability(summaryOfValues({3, 5}), 10, 10)),
            "no window: upper limit not above lower limit");
  EXPECT_EQ(none(capability(summaryOfValues({3, 5}), 10, 2)),
            "no window: upper limit not above lower limit");
}

TEST(Histogram, LimitsFallOnEdgesAndBinsReachTheDataOnBothSides) {
  // 60 wide: 20 bins of 3; the data reach 3 bins below and 6 above.
  const std::vector<std::int64_t> values = {91, 99, 100, 102, 103, 159, 160, 161, 175};
  const auto h = histogram(100, 160, values);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->windowBins, 20);
  EXPECT_DOUBLE_EQ(h->width(), 3.0);
  EXPECT_EQ(h->firstBin, -3);
  EXPECT_EQ(h->windowStart(), 3);
  EXPECT_DOUBLE_EQ(h->edge(-3), 91.0);
  EXPECT_DOUBLE_EQ(h->edge(0), 100.0);
  EXPECT_DOUBLE_EQ(h->edge(20), 160.0);
  std::vector<std::uint64_t> expected(29, 0);
  expected[0] = 1;   // 91
  expected[2] = 1;   // 99
  expected[3] = 2;   // 100, 102
  expected[4] = 1;   // 103
  expected[22] = 2;  // 159 and the upper limit 160 in the window's top bin
  expected[23] = 1;  // 161
  expected[28] = 1;  // 175
  EXPECT_EQ(h->counts, expected);
  EXPECT_EQ(h->beyondLow + h->beyondHigh, 0u);
}

TEST(Histogram, BinCountsForWindowsOfOtherWidths) {
  // 13 wide: 13 bins of 1.
  const auto thirteen = histogramBins(-5, 8, 1, 0);
  ASSERT_TRUE(thirteen);
  EXPECT_EQ(thirteen->windowBins, 13);
  EXPECT_EQ(thirteen->counts.size(), 13u);
  // 30 wide: no whole width for 16..20 bins, so 15 bins of 2.
  const auto thirty = histogramBins(0, 30, 1, 0);
  ASSERT_TRUE(thirty);
  EXPECT_EQ(thirty->windowBins, 15);
  EXPECT_DOUBLE_EQ(thirty->width(), 2.0);
  // 37 wide (prime): 20 bins of 1.85, the values put by integers, not by rounded edges.
  const std::vector<std::int64_t> values = {1, 2, 36, 37};
  const auto prime = histogram(0, 37, values);
  ASSERT_TRUE(prime);
  EXPECT_EQ(prime->windowBins, 20);
  EXPECT_DOUBLE_EQ(prime->edge(1), 1.85);
  std::vector<std::uint64_t> expected(20, 0);
  expected[0] = 1;
  expected[1] = 1;
  expected[19] = 2;
  EXPECT_EQ(prime->counts, expected);

  EXPECT_FALSE(histogramBins(5, 5, 0, 10));
  EXPECT_FALSE(histogramBins(6, 5, 0, 10));
}

TEST(Histogram, AFarOutlierGetsNoMillionBins) {
  const std::vector<std::int64_t> values = {5, 1000000000, -1000000000, 219, -200};
  const auto h = histogram(0, 20, values);
  ASSERT_TRUE(h);
  EXPECT_EQ(h->firstBin, -200);
  ASSERT_EQ(h->counts.size(), 420u);
  EXPECT_EQ(h->counts[0], 1u);    // -200, the lowest bin
  EXPECT_EQ(h->counts[205], 1u);  // 5
  EXPECT_EQ(h->counts[419], 1u);  // 219, the highest bin
  EXPECT_EQ(h->beyondLow, 1u);
  EXPECT_EQ(h->beyondHigh, 1u);
}

}  // namespace
}  // namespace qrix::stats
