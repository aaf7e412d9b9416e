#pragma once
// The in-process serial line to the simulated sensor pair. Bytes travel at 19200 baud 8N1
// (one byte every 10/19200 s) in each direction, on the runtime's clock: virtual in tests,
// the wall clock in the application.

#include <memory>

#include "runtime/timed_byte_queue.h"

namespace qrix::sim {
class SensorPair;
}

namespace qrix::serial {

class SimLineDevice : public TimedInputDevice {
 public:
  SimLineDevice(std::shared_ptr<sim::SensorPair> sensor, TimedByteQueue::Clock clock);

  std::size_t write(const std::uint8_t* data, std::size_t n) override;

 private:
  std::shared_ptr<sim::SensorPair> sensor_;
  double pcTxFree_ = 0;      // when the PC's transmitter is idle again
  double sensorTxFree_ = 0;  // when the sensor's transmitter is idle again
};

}  // namespace qrix::serial
