#pragma once
// A serial line whose answers a test writes by hand: each request written is handed to a
// responder, and its reply arrives on the virtual clock one exchange later.

#include <functional>
#include <vector>

#include "runtime/serial_device.h"
#include "runtime/timed_byte_queue.h"

namespace qrix::testing {

using Responder = std::function<std::vector<std::uint8_t>(const std::vector<std::uint8_t>&)>;

class ScriptedDevice : public serial::SerialDevice {
 public:
  ScriptedDevice(Responder responder, serial::TimedByteQueue::Clock clock)
      : responder_(std::move(responder)), input_(std::move(clock)) {}

  std::size_t write(const std::uint8_t* data, std::size_t n) override;
  std::size_t read(std::uint8_t* data, std::size_t n) override { return input_.read(data, n); }
  std::size_t inQueueLength() override { return input_.length(); }
  void flushInput() override { input_.flush(); }
  void flushOutput() override {}
  std::optional<double> nextArrival() const override { return input_.nextArrival(); }

 private:
  Responder responder_;
  serial::TimedByteQueue input_;
  std::vector<std::uint8_t> request_;
};

}  // namespace qrix::testing
