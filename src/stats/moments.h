#pragma once
// Exact sums of integer samples: the count, the sum of the values and of their squares, kept as
// 128-bit integers so that no sample is ever rounded away, however many there are. The mean and
// the standard deviation are worked out of the exact sums only when asked for.

#include <cstdint>
#include <optional>

namespace qrix::stats {

__extension__ typedef __int128 Int128;

// Samples are 32-bit values (uint16, int32, uint32 of the recorder and the sensor); larger ones
// are refused, since their squares could no longer be summed exactly.
inline constexpr std::int64_t kLargestSample = std::int64_t{1} << 32;
// The sums stay exact for this many samples of the largest size.
inline constexpr std::uint64_t kMostSamples = std::uint64_t{1} << 31;

struct Summary {
  std::uint64_t n = 0;
  std::optional<double> mean;  // none without values
  std::optional<double> sd;    // sample standard deviation (n - 1); none below two values
  std::optional<std::int64_t> min, max, range;
  bool noSpread = false;  // two or more values, all equal: sd is exactly 0
};

class Moments {
 public:
  // Throws std::out_of_range for a value beyond kLargestSample and std::length_error past
  // kMostSamples values.
  void add(std::int64_t x);
  // Throws as add() does for a value that cannot be summed exactly.
  static void checkSample(std::int64_t x);
  // Takes back a value added before (a rolling window's oldest).
  void remove(std::int64_t x);
  void reset() { *this = {}; }

  std::uint64_t n() const { return n_; }
  Int128 sum() const { return sum_; }
  Int128 sumOfSquares() const { return sumSq_; }
  // n * sum(x^2) - sum(x)^2: n (n - 1) times the sample variance, exact.
  Int128 spread() const;
  std::optional<double> mean() const;
  std::optional<double> sd() const;

 private:
  std::uint64_t n_ = 0;
  Int128 sum_ = 0, sumSq_ = 0;
};

}  // namespace qrix::stats
