#pragma once

#include <cstdint>
#include <vector>

namespace qrix::sim {

// Bytes the sensor puts on the line in answer to one request. The first byte
// starts `delay` seconds after the request's last byte arrived; whoever
// carries them paces them at kByteTime each.
struct Transmission {
  double delay = 0.0;
  std::vector<std::uint8_t> bytes;
};

}  // namespace qrix::sim
