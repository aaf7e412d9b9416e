#include "stats/moments.h"

#include <cmath>
#include <stdexcept>

namespace qrix::stats {

void Moments::checkSample(std::int64_t x) {
  if (x > kLargestSample || x < -kLargestSample) {
    throw std::out_of_range("a sample beyond 32 bits cannot be summed exactly");
  }
}

void Moments::add(std::int64_t x) {
  checkSample(x);
  if (n_ >= kMostSamples) {
    throw std::length_error("too many samples to sum exactly");
  }
  ++n_;
  sum_ += x;
  sumSq_ += Int128{x} * x;
}

void Moments::remove(std::int64_t x) {
  --n_;
  sum_ -= x;
  sumSq_ -= Int128{x} * x;
}

Int128 Moments::spread() const {
  return Int128{n_} * sumSq_ - sum_ * sum_;
}

std::optional<double> Moments::mean() const {
  if (n_ == 0) {
    return std::nullopt;
  }
  // The whole part divided exactly, so that a large sum keeps the fraction of its mean.
  const Int128 n = n_;
  Int128 whole = sum_ / n, rest = sum_ % n;
  return static_cast<double>(whole) + static_cast<double>(rest) / static_cast<double>(n);
}

std::optional<double> Moments::sd() const {
  if (n_ < 2) {
    return std::nullopt;
  }
  const Int128 denominator = Int128{n_} * (n_ - 1);
  return std::sqrt(static_cast<double>(spread()) / static_cast<double>(denominator));
}

}  // namespace qrix::stats
