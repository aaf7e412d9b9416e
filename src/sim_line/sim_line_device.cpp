#include "sim_line/sim_line_device.h"

#include <algorithm>
#include <span>

#include "qrix/sim/sensor_pair.hpp"

namespace qrix::serial {

SimLineDevice::SimLineDevice(std::shared_ptr<sim::SensorPair> sensor, TimedByteQueue::Clock clock)
    : TimedInputDevice(std::move(clock)), sensor_(std::move(sensor)) {}

std::size_t SimLineDevice::write(const std::uint8_t* data, std::size_t n) {
  if (failed_) {
    return 0;
  }
  const double start = std::max(input_.now(), pcTxFree_);
  const double lastByteArrives = start + static_cast<double>(n) * sim::kByteTime;
  pcTxFree_ = lastByteArrives;
  // The sensor sees the request once its last byte is in; its answers queue on its
  // transmitter, one byte every byte time.
  for (const sim::Transmission& t :
       sensor_->receive(std::span<const std::uint8_t>(data, n), lastByteArrives)) {
    double at = std::max(lastByteArrives + t.delay, sensorTxFree_);
    for (std::uint8_t b : t.bytes) {
      at += sim::kByteTime;
      input_.arriveAt(at, b);
    }
    sensorTxFree_ = at;
  }
  return n;
}

}  // namespace qrix::serial
