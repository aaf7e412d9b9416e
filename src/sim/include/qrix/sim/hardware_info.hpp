#pragma once

// What the master sensor reports about its CCD, board and firmware in the
// hardware-information answer.

#include <cstdint>

namespace qrix::sim {

struct HardwareInfo {
  std::uint16_t ccdType = 1;
  std::uint16_t ccdMaxPixel = 1024;
  std::uint16_t ccdResolution = 2;  // micrometres
  std::uint16_t pcbType = 0;        // 0: firmware text travels in the low bytes of words
  std::uint16_t ccdVirtPixel = 4096;
  std::uint16_t ccdSubPixel = 4;
  std::uint16_t ccdPixB = 0;
  std::uint16_t ccdPixE = 1023;
  std::uint16_t softVersion = 305;  // firmware version times 100
  std::uint16_t hwType = 0x2760;
  std::uint16_t adcMax = 1024;  // full scale of the video converter

  // A consistent description of a sensor with the given CCD type: type 1 is the
  // 1024-pixel line with 4096 subpixels, type 4 the 512-pixel line with 2048.
  // Any other type keeps the type-1 figures with that type number.
  static HardwareInfo forCcdType(std::uint16_t type);
};

}  // namespace qrix::sim
