#pragma once

// The physical side of the sensor pair: an object whose shadow falls on both
// CCD lines and moves slowly, plus a small vibration, over time. Everything is
// a pure function of the scan number, so answers can be computed lazily for
// any moment and repeat exactly from run to run.

#include <array>
#include <cstdint>

#include "qrix/sim/wire.hpp"

namespace qrix::sim {

enum class Sensor { kMaster = 0, kSlave = 1 };

struct EdgeReading {
  std::uint16_t edge = 0;         // first shadowed position, virtual pixels
  std::uint16_t edgeCount = 0;    // 2 while the shadow ends on the line, 1 once it runs off
  std::uint16_t shadowWidth = 0;  // shadowed positions on the line
};

using SensorBuffer = std::array<std::uint16_t, kBufferWords>;

class Scene {
 public:
  // The sensors scan once a millisecond; the measurement history keeps every
  // second scan, so its 128 words span 256 scans.
  static constexpr double kScanPeriod = 0.001;
  static constexpr int kScansPerHistoryWord = 2;

  Scene(std::uint16_t virtPixels, std::uint16_t adcMax);

  static std::int64_t scanAt(double seconds);

  // Brightness of the light source as a fraction of the converter's range:
  // in power mode 1 the sensor regulates its light itself.
  static double lightLevel(std::uint16_t power, std::uint16_t powerMode);

  EdgeReading reading(Sensor sensor, std::int64_t scan) const;

  // 128 converter counts along the line: bright where the light passes, dark
  // in the shadow, with a little fixed ripple and scan-to-scan noise.
  SensorBuffer video(Sensor sensor, std::int64_t scan, double light) const;

  // The sensor's edge positions of the last 256 scans, every second one,
  // oldest first; word 127 is the given scan.
  SensorBuffer history(Sensor sensor, std::int64_t scan) const;

  std::uint16_t virtPixels() const { return virtPixels_; }

 private:
  int jitter(Sensor sensor, std::int64_t scan) const;

  std::uint16_t virtPixels_;
  std::uint16_t adcMax_;
  std::array<std::int8_t, 4096> noise_{};
  std::array<std::array<std::int8_t, kBufferWords>, 2> ripple_{};
};

}  // namespace qrix::sim
