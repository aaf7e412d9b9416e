#include "qrix/sim/evaluation.hpp"

#include <limits>

namespace qrix::sim {

std::uint16_t measuredValue(std::uint16_t evalMode, std::uint16_t masterEdge,
                            std::uint16_t slaveEdge, std::uint16_t virtPixels) {
  switch (evalMode) {
    case 0: return slaveEdge;
    case 2:
    case 3:
    case 4: {
      const std::uint32_t sum = std::uint32_t{masterEdge} + slaveEdge;
      const std::uint32_t limit = std::min<std::uint32_t>(2u * virtPixels, 0xFFFF);
      return static_cast<std::uint16_t>(std::min(sum, limit));
    }
    default: return masterEdge;
  }
}

std::int32_t micrometres(std::uint16_t measured, std::uint32_t scale) {
  const std::int64_t value = static_cast<std::int64_t>(measured) * scale / 1024;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace qrix::sim
