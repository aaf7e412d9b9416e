#include "qrix/sim/scene.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace qrix::sim {

namespace {

// How each sensor sees the object, as fractions of the line length: the edge
// swings slowly around a centre and vibrates a little; the shadow breathes.
struct Motion {
  double centre, swing, period, phase;
  double vibration, vibrationHz;
  double width, widthSwing, widthPeriod;
};

// The slave's shadow is wide enough to run off the end of its line at times,
// so both edge counts occur.
constexpr std::array<Motion, 2> kMotion{{
    {0.40, 0.08, 23.0, 0.0, 0.004, 2.7, 0.30, 0.04, 17.0},
    {0.52, 0.07, 31.0, 1.1, 0.004, 3.1, 0.38, 0.08, 13.0},
}};

constexpr std::uint32_t kSeed = 0x51C0FFEE;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

std::int64_t wrap(std::int64_t value, std::int64_t size) {
  return ((value % size) + size) % size;
}

}  // namespace

Scene::Scene(std::uint16_t virtPixels, std::uint16_t adcMax)
    : virtPixels_(std::max<std::uint16_t>(virtPixels, 2)), adcMax_(adcMax) {
  std::mt19937 rng(kSeed);
  std::uniform_int_distribution<int> noise(-2, 2);
  for (auto& value : noise_) {
    value = static_cast<std::int8_t>(noise(rng));
  }
  std::uniform_int_distribution<int> ripple(-8, 8);
  for (auto& line : ripple_) {
    for (auto& value : line) {
      value = static_cast<std::int8_t>(ripple(rng));
    }
  }
}

std::int64_t Scene::scanAt(double seconds) {
  return static_cast<std::int64_t>(std::floor(seconds / kScanPeriod));
}

double Scene::lightLevel(std::uint16_t power, std::uint16_t powerMode) {
  if (powerMode == 1) {
    return 0.85;
  }
  return 0.1 + 0.8 * std::min<double>(power, 1000.0) / 1000.0;
}

int Scene::jitter(Sensor sensor, std::int64_t scan) const {
  const std::int64_t offset = sensor == Sensor::kMaster ? 0 : 1234;
  const int amplitude = std::max(1, virtPixels_ / 4096);
  return noise_[static_cast<std::size_t>(wrap(scan + offset, noise_.size()))] * amplitude;
}

EdgeReading Scene::reading(Sensor sensor, std::int64_t scan) const {
  const Motion& m = kMotion[static_cast<std::size_t>(sensor)];
  const double t = static_cast<double>(scan) * kScanPeriod;
  const double n = virtPixels_;

  const double position = n * (m.centre + m.swing * std::sin(kTwoPi * t / m.period + m.phase) +
                               m.vibration * std::sin(kTwoPi * m.vibrationHz * t));
  const long edge = std::clamp(std::lround(position) + jitter(sensor, scan), 1L,
                               static_cast<long>(virtPixels_) - 1);
  const long width = std::max(
      1L, std::lround(n * (m.width + m.widthSwing * std::sin(kTwoPi * t / m.widthPeriod))));

  EdgeReading result;
  result.edge = static_cast<std::uint16_t>(edge);
  if (edge + width >= virtPixels_) {
    result.edgeCount = 1;
    result.shadowWidth = static_cast<std::uint16_t>(virtPixels_ - edge);
  } else {
    result.edgeCount = 2;
    result.shadowWidth = static_cast<std::uint16_t>(width);
  }
  return result;
}

SensorBuffer Scene::video(Sensor sensor, std::int64_t scan, double light) const {
  const EdgeReading r = reading(sensor, scan);
  const double top = adcMax_ > 0 ? adcMax_ - 1.0 : 0.0;
  const double dark = 0.04 * top;
  const double shadowBegin = r.edge;
  const double shadowEnd = r.edge + r.shadowWidth;
  const double step = static_cast<double>(virtPixels_) / kBufferWords;
  const auto& ripple = ripple_[static_cast<std::size_t>(sensor)];

  SensorBuffer out{};
  for (std::size_t i = 0; i < kBufferWords; ++i) {
    const double from = static_cast<double>(i) * step;
    const double to = from + step;
    const double covered =
        std::max(0.0, std::min(to, shadowEnd) - std::max(from, shadowBegin)) / step;
    // The optics lose some light towards both ends of the line.
    const double bright =
        top * light *
        (0.92 + 0.08 * std::sin(std::numbers::pi * (static_cast<double>(i) + 0.5) / kBufferWords));
    const double value = bright * (1.0 - covered) + dark * covered + ripple[i] * top / 512.0 +
                         jitter(sensor, scan + static_cast<std::int64_t>(7 * i)) * top / 1024.0;
    out[i] = static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, std::lround(top)));
  }
  return out;
}

SensorBuffer Scene::history(Sensor sensor, std::int64_t scan) const {
  SensorBuffer out{};
  for (std::size_t i = 0; i < kBufferWords; ++i) {
    const auto age = static_cast<std::int64_t>(kBufferWords - 1 - i) * kScansPerHistoryWord;
    out[i] = reading(sensor, scan - age).edge;
  }
  return out;
}

}  // namespace qrix::sim
