// Running statistics of integer samples: the figures of a small set worked out by hand, the
// empty and single-value cases, exactness over a million samples far from zero, and the rolling
// window against a recomputation over its last N samples.

#include "stats/running_stats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <random>
#include <stdexcept>

namespace qrix::stats {
namespace {

TEST(RunningStats, FiguresOfASmallSetAndItsEmptyAndSingleCases) {
  RunningStats stats;
  Summary empty = stats.summary();
  EXPECT_EQ(empty.n, 0u);
  EXPECT_FALSE(empty.mean || empty.sd || empty.min || empty.max || empty.range);

  stats.add(-7);
  Summary one = stats.summary();
  EXPECT_EQ(one.n, 1u);
  EXPECT_EQ(one.mean, -7.0);
  EXPECT_FALSE(one.sd);
  EXPECT_EQ(one.min, -7);
  EXPECT_EQ(one.max, -7);
  EXPECT_EQ(one.range, 0);

  stats.reset();
  for (int x : {3, -1, 7, 5}) {
    stats.add(x);
  }
  const Summary s = stats.summary();
  EXPECT_EQ(s.n, 4u);
  EXPECT_DOUBLE_EQ(*s.mean, 3.5);
  // Deviations -0.5, -4.5, 3.5, 1.5: squares 35 in all, over n - 1 = 3.
  EXPECT_NEAR(*s.sd, 3.4156502553198660, 1e-12);
  EXPECT_EQ(s.min, -1);
  EXPECT_EQ(s.max, 7);
  EXPECT_EQ(s.range, 8);
  EXPECT_FALSE(s.noSpread);

  stats.reset();
  for (int i = 0; i < 3; ++i) {
    stats.add(42);
  }
  EXPECT_TRUE(stats.summary().noSpread);
  EXPECT_EQ(stats.summary().sd, 0.0);
}

TEST(RunningStats, AMillionSamplesFarFromZeroKeepEveryDigit) {
  // 1e9 + (-3, -1, 0, 2, 5) over and over: their squares near 1e18 summed a million times
  // would lose the whole spread in doubles.
  RunningStats stats;
  for (int i = 0; i < 200000; ++i) {
    for (int d : {-3, -1, 0, 2, 5}) {
      stats.add(1000000000 + d);
    }
  }
  const Moments& m = stats.moments();
  EXPECT_EQ(m.n(), 1000000u);
  EXPECT_TRUE(m.sum() == Int128{1000000000600000});
  EXPECT_TRUE(m.sumOfSquares() == Int128{1000000001200000} * 1000000000 + 7800000);
  EXPECT_TRUE(m.spread() == Int128{7440000000000});
  const Summary s = stats.summary();
  EXPECT_EQ(*s.mean, 1000000000.6);
  EXPECT_NEAR(*s.sd, 2.727637703216364, 1e-12);
  EXPECT_EQ(s.min, 999999997);
  EXPECT_EQ(s.max, 1000000005);
  EXPECT_EQ(s.range, 8);
}

TEST(RunningStats, SamplesBeyondThirtyTwoBitsAreRefusedAndChangeNothing) {
  RunningStats all;
  WindowStats window(3);
  for (int x : {10, 20}) {
    all.add(x);
    window.add(x);
  }
  const std::int64_t tooLarge = (std::int64_t{1} << 32) + 1;
  EXPECT_THROW(all.add(tooLarge), std::out_of_range);
  EXPECT_THROW(window.add(-tooLarge), std::out_of_range);
  EXPECT_EQ(all.summary().n, 2u);
  EXPECT_EQ(all.summary().max, 20);
  EXPECT_EQ(window.summary().n, 2u);
  EXPECT_EQ(window.summary().min, 10);
  // The largest that is taken.
  all.add(std::int64_t{1} << 32);
  EXPECT_EQ(all.summary().max, std::int64_t{4294967296});
}

TEST(WindowStats, TheLastThreeOfFiveAndExtremesThatLeaveTheWindow) {
  WindowStats window(3);
  for (int x : {5, 1, 4, 9, 2}) {
    window.add(x);
  }
  Summary s = window.summary();
  // 4, 9, 2: mean 5, deviations -1, 4, -3, squares 26 over 2.
  EXPECT_EQ(s.n, 3u);
  EXPECT_DOUBLE_EQ(*s.mean, 5.0);
  EXPECT_NEAR(*s.sd, 3.605551275463989, 1e-12);
  EXPECT_EQ(s.min, 2);
  EXPECT_EQ(s.max, 9);
  EXPECT_EQ(s.range, 7);
  // 9 leaves after two more; the new maximum is the 3 that came after it.
  window.add(3);
  window.add(0);
  s = window.summary();
  EXPECT_EQ(s.max, 3);
  EXPECT_EQ(s.min, 0);
  window.add(1);
  EXPECT_EQ(window.summary().max, 3);
  window.add(1);
  EXPECT_EQ(window.summary().max, 1);

  window.reset();
  EXPECT_EQ(window.summary().n, 0u);
  window.add(-4);
  EXPECT_EQ(window.summary().min, -4);
  EXPECT_EQ(window.summary().max, -4);
}

TEST(WindowStats, EachWindowSizeMatchesARecomputationOverItsLastSamples) {
  for (std::size_t size : WindowStats::kSizes) {
    SCOPED_TRACE(size);
    WindowStats window(size);
    std::deque<std::int64_t> last;
    std::mt19937 random(static_cast<unsigned>(size));
    // Values near the top of int32, with runs that rise and fall so that the extremes move.
    std::uniform_int_distribution<std::int64_t> noise(-50000, 50000);
    const std::size_t total = 3 * size + 17;
    for (std::size_t i = 0; i < total; ++i) {
      const std::int64_t x = 2000000000 + noise(random) + static_cast<std::int64_t>(i % 97) * 1000;
      window.add(x);
      last.push_back(x);
      if (last.size() > size) {
        last.pop_front();
      }
      // Every step of the smallest window, so that an extreme leaving one sample early shows.
      if (size != 100 && i % 61 != 0 && i != total - 1) {
        continue;
      }
      long double sum = 0;
      for (std::int64_t v : last) {
        sum += static_cast<long double>(v);
      }
      const long double mean = sum / static_cast<long double>(last.size());
      long double squares = 0;
      for (std::int64_t v : last) {
        squares += (v - mean) * (v - mean);
      }
      const Summary s = window.summary();
      ASSERT_EQ(s.n, last.size());
      EXPECT_NEAR(*s.mean, static_cast<double>(mean), 1e-6);
      if (last.size() > 1) {
        const double sd = std::sqrt(static_cast<double>(squares / (last.size() - 1)));
        EXPECT_NEAR(*s.sd, sd, 1e-6 * sd);
      }
      const auto [lo, hi] = std::minmax_element(last.begin(), last.end());
      ASSERT_EQ(s.min, *lo);
      ASSERT_EQ(s.max, *hi);
      ASSERT_EQ(s.range, *hi - *lo);
    }
  }
}

}  // namespace
}  // namespace qrix::stats
