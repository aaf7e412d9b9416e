#pragma once

// Carries bytes between the pseudo-terminal and the simulated sensor pair:
// requests are read as they come, answers go out at 19200 baud from a
// schedule, so new requests are still read while an answer is on the line.

#include <optional>
#include <ostream>

#include "pty_line.hpp"
#include "qrix/sim/sensor_pair.hpp"
#include "qrix/sim/transmit_schedule.hpp"

namespace qrix::sim {

class ServeLoop {
 public:
  ServeLoop(PtyLine& line, SensorPair& sensor, bool pacing, std::ostream& log);

  // Serves until `stopFd` (a signalfd) becomes readable. Returns the exit code.
  int run(int stopFd);

 private:
  double elapsed() const;
  void readRequests();
  void writeDueBytes();
  void logNewRequests();
  void hangUpWhenDrained();

  PtyLine& line_;
  SensorPair& sensor_;
  TransmitSchedule schedule_;
  bool pacing_;
  double requestLineFree_ = 0.0;  // when the PC's bytes read so far have crossed the line
  std::ostream& log_;
  std::size_t loggedRequests_ = 0;
  std::size_t droppedBytes_ = 0;
  double start_;
  std::optional<double> hangUpAt_;  // latest moment to drop the line once hung up
  double settledAt_ = 0.0;
};

}  // namespace qrix::sim
