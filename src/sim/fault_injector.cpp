#include "qrix/sim/fault_injector.hpp"

#include <cmath>

namespace qrix::sim {

namespace {

constexpr std::uint32_t kSeed = 0xBADC0DE5;
constexpr std::uint8_t kWrongSyncLow = 0xAB;

// Firmware text and data blocks are raw bytes without a sync word.
bool isFramed(Command command) {
  return command != Command::kFirmwareText && command != Command::kReadBlock;
}

}  // namespace

FaultInjector::FaultInjector(Faults faults) : faults_(faults), rng_(kSeed) {}

void FaultInjector::noteRequest() {
  if (!hungUp()) {
    ++requests_;
  }
}

bool FaultInjector::hungUp() const {
  return faults_.hangUpAfter >= 0 && requests_ >= static_cast<std::uint64_t>(faults_.hangUpAfter);
}

std::optional<Transmission> FaultInjector::shape(Command command, Bytes answer,
                                                 double reactionTime) {
  const bool fallenSilent =
      faults_.silentAfter >= 0 && requests_ > static_cast<std::uint64_t>(faults_.silentAfter);
  if (faults_.silent || fallenSilent) {
    ++swallowed_;
    return std::nullopt;
  }
  ++answers_;
  if (faults_.answerEvery > 1 && answers_ % static_cast<std::uint64_t>(faults_.answerEvery) != 0) {
    ++swallowed_;
    return std::nullopt;
  }
  if (faults_.wrongSync && isFramed(command)) {
    answer[1] = kWrongSyncLow;
  }
  if (faults_.shortBlock && command == Command::kReadBlock) {
    answer.pop_back();
  }
  if (faults_.extraBytes > 0) {
    const Bytes extra = randomBytes(static_cast<std::size_t>(faults_.extraBytes));
    answer.insert(answer.end(), extra.begin(), extra.end());
  }

  Transmission out;
  out.delay = reactionTime + faults_.extraDelay;
  if (faults_.noiseBytesPerAnswer > 0.0) {
    // A whole count plus one more byte with the fractional part's probability
    // keeps the mean at the configured rate.
    const double whole = std::floor(faults_.noiseBytesPerAnswer);
    std::bernoulli_distribution onePlus(faults_.noiseBytesPerAnswer - whole);
    out.bytes = randomBytes(static_cast<std::size_t>(whole) + (onePlus(rng_) ? 1 : 0));
    noiseBytes_ += out.bytes.size();
  }
  out.bytes.insert(out.bytes.end(), answer.begin(), answer.end());
  return out;
}

Bytes FaultInjector::randomBytes(std::size_t count) {
  std::uniform_int_distribution<int> byte(0, 255);
  Bytes bytes(count);
  for (auto& b : bytes) {
    b = static_cast<std::uint8_t>(byte(rng_));
  }
  return bytes;
}

}  // namespace qrix::sim
