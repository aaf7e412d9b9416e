#include "support/scripted_device.h"

#include <algorithm>

namespace qrix::testing {

namespace {
constexpr double kExchangeTime = 0.04;  // two 36-byte frames at 19200 baud, and a little
}

std::size_t ScriptedDevice::write(const std::uint8_t* data, std::size_t n) {
  request_.insert(request_.end(), data, data + n);
  while (request_.size() >= 36) {
    std::vector<std::uint8_t> request(request_.begin(), request_.begin() + 36);
    request_.erase(request_.begin(), request_.begin() + 36);
    std::vector<std::uint8_t> reply = responder_(request);
    if (!reply.empty()) pending_.emplace_back(clock_() + kExchangeTime, std::move(reply));
  }
  return n;
}

void ScriptedDevice::settle() {
  while (!pending_.empty() && pending_.front().first <= clock_()) {
    queue_.insert(queue_.end(), pending_.front().second.begin(), pending_.front().second.end());
    pending_.pop_front();
  }
}

std::size_t ScriptedDevice::read(std::uint8_t* data, std::size_t n) {
  settle();
  const std::size_t count = std::min(n, queue_.size());
  std::copy_n(queue_.begin(), count, data);
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
  return count;
}

std::size_t ScriptedDevice::inQueueLength() {
  settle();
  return queue_.size();
}

void ScriptedDevice::flushInput() {
  settle();
  queue_.clear();
}

std::optional<double> ScriptedDevice::nextArrival() const {
  if (pending_.empty()) return std::nullopt;
  return pending_.front().first;
}

}  // namespace qrix::testing
