#include "program/hardware_answer.h"

#include "program/frame_codec.h"

namespace qrix {

HardwareWords decodeHardwareAnswer(std::span<const std::uint8_t, 36> frame) {
  const std::uint8_t* b = frame.data();
  HardwareWords w;
  w.ccdtype = wordAt(b, 4);
  w.ccdmaxpixel = wordAt(b, 6);
  w.ccdresolution = wordAt(b, 8);
  w.pcbtype = wordAt(b, 10);
  w.ccdvirtpixel = wordAt(b, 12);
  w.ccdsubpixel = wordAt(b, 14);
  w.ccdpixB = wordAt(b, 16);
  w.ccdpixE = wordAt(b, 18);
  w.softversion = wordAt(b, 20);
  w.hwtype = wordAt(b, 22);
  w.adcmax = wordAt(b, 24);
  return w;
}

}  // namespace qrix
