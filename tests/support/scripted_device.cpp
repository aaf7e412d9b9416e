#include "support/scripted_device.h"

namespace qrix::testing {

namespace {
constexpr double kExchangeTime = 0.04;  // two 36-byte frames at 19200 baud, and a little
}

std::size_t ScriptedDevice::write(const std::uint8_t* data, std::size_t n) {
  request_.insert(request_.end(), data, data + n);
  while (request_.size() >= 36) {
    std::vector<std::uint8_t> request(request_.begin(), request_.begin() + 36);
    request_.erase(request_.begin(), request_.begin() + 36);
    // The whole reply arrives at once, one exchange later.
    for (std::uint8_t b : responder_(request)) {
      input_.arriveAt(input_.now() + kExchangeTime, b);
    }
  }
  return n;
}

}  // namespace qrix::testing
