#pragma once
// A RUN answer as a value: the sensor answers a RUN request with 16 words from byte 4 of its
// frame (after the sync word and the echo 8), high byte first.

#include <cstdint>
#include <span>

#include "program/parameter.h"

namespace qrix {

struct RunAnswer {
  std::uint16_t Aval = 0, Bval = 0;  // edge positions of master and slave
  std::uint16_t Mvalue = 0;          // measured value
  std::int32_t umValue = 0;          // measured value in micrometres, signed
  std::uint16_t poti = 0;
  std::uint16_t edcntA = 0, edcntB = 0;  // edges seen by master and slave
  std::uint16_t peakwA = 0, peakwB = 0;  // shadow widths
  std::uint16_t anaMax = 0, anaMin = 0;  // the analog output's held maximum and minimum
  std::uint16_t teachA = 0, teachB = 0;  // teach values of master and slave
  std::uint16_t raw15 = 0;
  std::uint16_t instate = 0;
  bool operator==(const RunAnswer&) const = default;
};

// The 16 words of a RUN answer as pp holds them after unpacking.
RunAnswer decodeRunWords(const WordArray& words);
// A RUN answer's 36 bytes to its values. The frame's sync word and echo are the caller's to
// check: these bytes are known to be a RUN answer.
RunAnswer decodeRunAnswer(std::span<const std::uint8_t, 36> frame);

}  // namespace qrix
