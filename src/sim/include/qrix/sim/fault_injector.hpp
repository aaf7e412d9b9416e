#pragma once

// Applies the switched-on faults to the answers of a healthy sensor. Random
// bytes come from a fixed-seed generator, so every run is the same.

#include <cstdint>
#include <optional>
#include <random>

#include "qrix/sim/answers.hpp"
#include "qrix/sim/faults.hpp"
#include "qrix/sim/transmission.hpp"
#include "qrix/sim/wire.hpp"

namespace qrix::sim {

class FaultInjector {
 public:
  explicit FaultInjector(Faults faults = {});

  const Faults& faults() const { return faults_; }

  // Counts one request that reached the sensor while the line was alive.
  void noteRequest();

  // True once `hangUpAfter` requests have been served: from then on nothing
  // is answered.
  bool hungUp() const;

  // What actually goes on the line for the answer `answer` to `command`,
  // or nothing if the answer is swallowed.
  std::optional<Transmission> shape(Command command, Bytes answer, double reactionTime);

  // What the faults did so far: random bytes sent ahead of answers, answers swallowed.
  std::uint64_t noiseBytesSent() const { return noiseBytes_; }
  std::uint64_t answersSwallowed() const { return swallowed_; }

 private:
  Bytes randomBytes(std::size_t count);

  Faults faults_;
  std::uint64_t requests_ = 0;
  std::uint64_t answers_ = 0;
  std::uint64_t noiseBytes_ = 0;
  std::uint64_t swallowed_ = 0;
  std::mt19937 rng_;
};

}  // namespace qrix::sim
