#pragma once

// When each answer byte leaves the sensor. Answers queue behind each other on
// the one line; with pacing on, byte i of an answer is due kByteTime * i after
// the answer starts. Carriers (the pty server, an in-process port) ask what is
// due and when to look again; the schedule itself never waits.

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "qrix/sim/transmission.hpp"

namespace qrix::sim {

class TransmitSchedule {
 public:
  explicit TransmitSchedule(bool paced = true) : paced_(paced) {}

  // Queues an answer to a request whose last byte arrived at `requestEnd`.
  void add(const Transmission& transmission, double requestEnd);

  // Removes and returns every byte due at or before `now`.
  std::vector<std::uint8_t> takeDue(double now);

  std::optional<double> nextDueTime() const;
  bool empty() const { return pending_.empty(); }
  void clear() { pending_.clear(); }

 private:
  struct TimedByte {
    double due;
    std::uint8_t byte;
  };

  bool paced_;
  double lineFreeAt_ = 0.0;  // when the last queued byte has left the line
  std::deque<TimedByte> pending_;
};

}  // namespace qrix::sim
