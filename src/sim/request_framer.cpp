#include "qrix/sim/request_framer.hpp"

namespace qrix::sim {

std::vector<Request> RequestFramer::push(std::span<const std::uint8_t> bytes, double now) {
  if (!pending_.empty() && now - lastArrival_ > kAbandonGap) {
    discarded_ += pending_.size();
    pending_.clear();
  }
  lastArrival_ = now;

  std::vector<Request> requests;
  for (const std::uint8_t byte : bytes) {
    pending_.push_back(byte);
    while (!pending_.empty() && !startLooksValid()) {
      dropFront();
    }
    if (pending_.size() == kFrameSize) {
      Request request;
      request.command = getWord(pending_, 2);
      request.argument = getWord(pending_, 4);
      for (std::size_t k = 0; k < kPayloadWords; ++k) {
        request.payload[k] = getWord(pending_, 6 + 2 * k);
      }
      requests.push_back(request);
      pending_.clear();
    }
  }
  return requests;
}

void RequestFramer::reset() {
  pending_.clear();
  lastArrival_ = 0.0;
}

// The header and the command word are checked as soon as they are complete,
// so a false start inside noise costs at most four bytes of look-ahead.
bool RequestFramer::startLooksValid() const {
  const std::size_t size = pending_.size();
  if (size >= 1 && pending_[0] != (kRequestSync >> 8)) {
    return false;
  }
  if (size >= 2 && pending_[1] != (kRequestSync & 0xFF)) {
    return false;
  }
  return size < 4 || isKnownCommand(getWord(pending_, 2));
}

void RequestFramer::dropFront() {
  pending_.erase(pending_.begin());
  ++discarded_;
}

}  // namespace qrix::sim
