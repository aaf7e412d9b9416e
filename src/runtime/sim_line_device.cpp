#include "runtime/sim_line_device.h"

#include <algorithm>
#include <span>

namespace qrix::serial {

SimLineDevice::SimLineDevice(std::shared_ptr<sim::SensorPair> sensor, Clock clock)
    : sensor_(std::move(sensor)), clock_(std::move(clock)) {}

std::size_t SimLineDevice::write(const std::uint8_t* data, std::size_t n) {
  const double now = clock_();
  const double start = std::max(now, pcTxFree_);
  const double lastByteArrives = start + static_cast<double>(n) * sim::kByteTime;
  pcTxFree_ = lastByteArrives;
  // The sensor sees the request once its last byte is in; it answers after its reaction time.
  for (const sim::Transmission& t :
       sensor_->receive(std::span<const std::uint8_t>(data, n), lastByteArrives)) {
    double at = std::max(lastByteArrives + t.delay, sensorTxFree_);
    for (std::uint8_t b : t.bytes) {
      at += sim::kByteTime;
      pending_.push_back({at, b});
    }
    sensorTxFree_ = at;
  }
  std::stable_sort(pending_.begin(), pending_.end(),
            [](const Pending& a, const Pending& b) { return a.time < b.time; });
  return n;
}

void SimLineDevice::settle() {
  const double now = clock_();
  while (!pending_.empty() && pending_.front().time <= now) {
    // A full input queue drops what arrives, as a UART driver does.
    if (queue_.size() < kQueueSize) queue_.push_back(pending_.front().byte);
    pending_.pop_front();
  }
}

std::size_t SimLineDevice::read(std::uint8_t* data, std::size_t n) {
  settle();
  const std::size_t count = std::min(n, queue_.size());
  std::copy_n(queue_.begin(), count, data);
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
  return count;
}

std::size_t SimLineDevice::inQueueLength() {
  settle();
  return queue_.size();
}

void SimLineDevice::flushInput() {
  settle();
  queue_.clear();
}

std::optional<double> SimLineDevice::nextArrival() const {
  if (pending_.empty()) return std::nullopt;
  return pending_.front().time;
}

}  // namespace qrix::serial
