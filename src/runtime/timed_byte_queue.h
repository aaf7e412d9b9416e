#pragma once
// The input side of a simulated line: bytes due at given times on a clock, moved into a bounded
// input queue once their time has come, as a UART driver would queue them.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

#include "runtime/serial_device.h"

namespace qrix::serial {

class TimedByteQueue {
 public:
  using Clock = std::function<double()>;
  static constexpr std::size_t kQueueSize = 4096;

  explicit TimedByteQueue(Clock clock) : clock_(std::move(clock)) {}

  double now() const { return clock_(); }
  // A byte that arrives at `time`; times must not decrease.
  void arriveAt(double time, std::uint8_t byte) { pending_.push_back({time, byte}); }

  std::size_t read(std::uint8_t* data, std::size_t n);
  std::size_t length();
  // Drops what has arrived; bytes still on their way come later.
  void flush();
  std::optional<double> nextArrival() const;

 private:
  struct Pending {
    double time;
    std::uint8_t byte;
  };
  void settle();

  Clock clock_;
  std::deque<Pending> pending_;
  std::deque<std::uint8_t> queue_;
};

// A simulated line whose input side is a timed queue; only the sending side differs.
class TimedInputDevice : public SerialDevice {
 public:
  explicit TimedInputDevice(TimedByteQueue::Clock clock) : input_(std::move(clock)) {}
  std::size_t read(std::uint8_t* data, std::size_t n) override {
    return failed_ ? 0 : input_.read(data, n);
  }
  std::size_t inQueueLength() override { return failed_ ? 0 : input_.length(); }
  void flushInput() override { input_.flush(); }
  void flushOutput() override {}
  std::optional<double> nextArrival() const override {
    return failed_ ? std::nullopt : input_.nextArrival();
  }
  bool failed() const override { return failed_; }
  // The line goes away, as a pulled cable would take it.
  void fail() { failed_ = true; }

 protected:
  TimedByteQueue input_;
  bool failed_ = false;
};

}  // namespace qrix::serial
