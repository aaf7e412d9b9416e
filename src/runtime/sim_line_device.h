#pragma once
// The in-process serial line to the simulated sensor pair. Bytes travel at 19200 baud 8N1
// (one byte every 10/19200 s) in each direction, on the runtime's clock: virtual in tests,
// the wall clock in the application.

#include <deque>
#include <functional>
#include <memory>

#include "runtime/serial_device.h"
#include "qrix/sim/sensor_pair.hpp"

namespace qrix::serial {

class SimLineDevice : public SerialDevice {
 public:
  using Clock = std::function<double()>;
  static constexpr std::size_t kQueueSize = 4096;

  SimLineDevice(std::shared_ptr<sim::SensorPair> sensor, Clock clock);

  std::size_t write(const std::uint8_t* data, std::size_t n) override;
  std::size_t read(std::uint8_t* data, std::size_t n) override;
  std::size_t inQueueLength() override;
  void flushInput() override;
  void flushOutput() override {}
  std::optional<double> nextArrival() const override;

  sim::SensorPair& sensor() { return *sensor_; }

 private:
  struct Pending {
    double time;
    std::uint8_t byte;
  };
  // Moves every byte that has arrived by now into the input queue.
  void settle();

  std::shared_ptr<sim::SensorPair> sensor_;
  Clock clock_;
  double pcTxFree_ = 0;      // when the PC's transmitter is idle again
  double sensorTxFree_ = 0;  // when the sensor's transmitter is idle again
  std::deque<Pending> pending_;
  std::deque<std::uint8_t> queue_;
};

}  // namespace qrix::serial
