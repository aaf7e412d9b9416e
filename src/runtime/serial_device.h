#pragma once
// One open serial line as the serial library sees it: bytes in, bytes out, an input queue.
// Implemented by a real port (Qt Serial Port) and by the in-process line to the simulator.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace qrix::serial {

class SerialDevice {
 public:
  virtual ~SerialDevice() = default;
  // Queues bytes for sending; returns how many were taken.
  virtual std::size_t write(const std::uint8_t* data, std::size_t n) = 0;
  // Takes up to n bytes from the input queue.
  virtual std::size_t read(std::uint8_t* data, std::size_t n) = 0;
  virtual std::size_t inQueueLength() = 0;
  // The input queue as the pump last filled it, without looking at the line again: the pump
  // has just read it. A device whose queue needs no looking returns the queue length.
  virtual std::size_t receivedLength() { return inQueueLength(); }
  virtual void flushInput() = 0;
  virtual void flushOutput() = 0;
  // When the next byte is due on a simulated line, on the runtime clock; real lines return none.
  virtual std::optional<double> nextArrival() const { return std::nullopt; }
  // A line that has failed (cable pulled); its reads and writes then do nothing.
  virtual bool failed() const { return false; }
};

}  // namespace qrix::serial
