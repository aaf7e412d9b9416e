#pragma once
// A serial line whose answers a test writes by hand: each request written is handed to a
// responder, and its reply arrives on the virtual clock one exchange later.

#include <functional>
#include <vector>

#include "runtime/timed_byte_queue.h"

namespace qrix::testing {

using Responder = std::function<std::vector<std::uint8_t>(const std::vector<std::uint8_t>&)>;

class ScriptedDevice : public serial::TimedInputDevice {
 public:
  ScriptedDevice(Responder responder, serial::TimedByteQueue::Clock clock)
      : TimedInputDevice(std::move(clock)), responder_(std::move(responder)) {}

  std::size_t write(const std::uint8_t* data, std::size_t n) override;

 private:
  Responder responder_;
  std::vector<std::uint8_t> request_;
};

}  // namespace qrix::testing
