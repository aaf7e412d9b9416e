#include "qrix/sim/transmit_schedule.hpp"

#include <algorithm>

#include "qrix/sim/wire.hpp"

namespace qrix::sim {

void TransmitSchedule::add(const Transmission& transmission, double requestEnd) {
  const double start = std::max(requestEnd + transmission.delay, lineFreeAt_);
  const double step = paced_ ? kByteTime : 0.0;
  const std::size_t count = transmission.bytes.size();
  for (std::size_t i = 0; i < count; ++i) {
    pending_.push_back({start + static_cast<double>(i) * step, transmission.bytes[i]});
  }
  lineFreeAt_ = start + static_cast<double>(count) * step;
}

std::vector<std::uint8_t> TransmitSchedule::takeDue(double now) {
  std::vector<std::uint8_t> due;
  while (!pending_.empty() && pending_.front().due <= now) {
    due.push_back(pending_.front().byte);
    pending_.pop_front();
  }
  return due;
}

std::optional<double> TransmitSchedule::nextDueTime() const {
  if (pending_.empty()) {
    return std::nullopt;
  }
  return pending_.front().due;
}

}  // namespace qrix::sim
