#pragma once

// Cuts the byte stream from the PC into 36-byte requests. Bytes may arrive in
// any pieces; line noise in front of a request is skipped.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "qrix/sim/wire.hpp"

namespace qrix::sim {

struct Request {
  std::uint16_t command = 0;
  std::uint16_t argument = 0;
  Payload payload{};
};

class RequestFramer {
 public:
  // The PC writes a request in one go, so a pause this long inside a frame
  // means its tail was lost; the half frame is dropped rather than completed
  // with the bytes of the next request.
  static constexpr double kAbandonGap = 0.05;

  // Takes bytes that arrived at `now` (seconds) and returns every request
  // they complete, in order.
  std::vector<Request> push(std::span<const std::uint8_t> bytes, double now);

  void reset();

  // Bytes thrown away as noise or as abandoned half frames.
  std::size_t discardedBytes() const { return discarded_; }

 private:
  bool startLooksValid() const;
  void dropFront();

  std::vector<std::uint8_t> pending_;
  double lastArrival_ = 0.0;
  std::size_t discarded_ = 0;
};

}  // namespace qrix::sim
