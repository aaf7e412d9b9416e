#pragma once

// Builds requests and reads answers byte by byte, independently of the
// simulator's own encoders, so that the tests can disagree with them.

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "qrix/sim/sensor_pair.hpp"

namespace qrix::sim::test {

using ByteVector = std::vector<std::uint8_t>;

inline ByteVector requestWithPayload(std::uint16_t cmd, std::uint16_t arg, const Payload& payload) {
  ByteVector bytes{0x00,
                   0x55,
                   std::uint8_t(cmd >> 8),
                   std::uint8_t(cmd),
                   std::uint8_t(arg >> 8),
                   std::uint8_t(arg)};
  for (const std::uint16_t w : payload) {
    bytes.push_back(std::uint8_t(w >> 8));
    bytes.push_back(std::uint8_t(w));
  }
  return bytes;
}

inline ByteVector request(std::uint16_t cmd, std::uint16_t arg = 0,
                          std::initializer_list<std::uint16_t> words = {}) {
  Payload payload{};
  std::copy(words.begin(), words.end(), payload.begin());
  return requestWithPayload(cmd, arg, payload);
}

inline std::uint16_t wordAt(const ByteVector& bytes, std::size_t offset) {
  return std::uint16_t(bytes.at(offset) << 8 | bytes.at(offset + 1));
}

// Payload word k of a frame answer, or RUN word k of a RUN answer.
inline std::uint16_t payloadWord(const ByteVector& answer, std::size_t k) {
  return wordAt(answer, 6 + 2 * k);
}
inline std::uint16_t runWord(const ByteVector& answer, std::size_t k) {
  return wordAt(answer, 4 + 2 * k);
}

// The bytes of the one answer a request gets; empty when it gets none.
inline ByteVector answerTo(SensorPair& sensor, const ByteVector& bytes, double now = 1.0) {
  const auto sent = sensor.receive(bytes, now);
  return sent.empty() ? ByteVector{} : sent.front().bytes;
}

}  // namespace qrix::sim::test
