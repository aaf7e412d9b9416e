#pragma once
// The sensor's hardware information: the answer to command 10 carries the CCD, the board and
// the firmware as eleven words after the sync word and the echo.

#include <cstdint>
#include <span>

namespace qrix {

struct HardwareWords {
  std::uint16_t ccdtype = 0, ccdmaxpixel = 0, ccdresolution = 0, pcbtype = 0;
  std::uint16_t ccdvirtpixel = 0;  // as reported, before any fallback
  std::uint16_t ccdsubpixel = 0, ccdpixB = 0, ccdpixE = 0;
  std::uint16_t softversion = 0, hwtype = 0, adcmax = 0;
  bool operator==(const HardwareWords&) const = default;
};

// A hardware answer's 36 bytes to its words. The sync word and the echo are the caller's to
// check.
HardwareWords decodeHardwareAnswer(std::span<const std::uint8_t, 36> frame);

}  // namespace qrix
