#pragma once
// A serial line whose answers a test writes by hand: each request written is handed to a
// responder, and its reply arrives on the virtual clock one exchange later.

#include <deque>
#include <functional>
#include <vector>

#include "runtime/serial_device.h"

namespace qrix::testing {

using Responder = std::function<std::vector<std::uint8_t>(const std::vector<std::uint8_t>&)>;

class ScriptedDevice : public serial::SerialDevice {
 public:
  ScriptedDevice(Responder responder, std::function<double()> clock)
      : responder_(std::move(responder)), clock_(std::move(clock)) {}

  std::size_t write(const std::uint8_t* data, std::size_t n) override;
  std::size_t read(std::uint8_t* data, std::size_t n) override;
  std::size_t inQueueLength() override;
  void flushInput() override;
  void flushOutput() override {}
  std::optional<double> nextArrival() const override;

 private:
  void settle();
  Responder responder_;
  std::function<double()> clock_;
  std::vector<std::uint8_t> request_;
  std::deque<std::pair<double, std::vector<std::uint8_t>>> pending_;
  std::deque<std::uint8_t> queue_;
};

}  // namespace qrix::testing
