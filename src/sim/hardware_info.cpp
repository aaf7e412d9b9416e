#include "qrix/sim/hardware_info.hpp"

namespace qrix::sim {

HardwareInfo HardwareInfo::forCcdType(std::uint16_t type) {
  HardwareInfo info;
  info.ccdType = type;
  if (type == 4) {
    info.ccdMaxPixel = 512;
    info.ccdResolution = 3;
    info.ccdVirtPixel = 2048;
    info.ccdPixE = 511;
    info.hwType = 0x2750;
    info.adcMax = 256;
  }
  return info;
}

}  // namespace qrix::sim
