#pragma once
// Turns the bytes received from the sensor into whole 36-byte answer frames. Knows no program
// state: bytes go in, frames come out, and what had to be dropped is counted.
//
// A frame starts with the sync word 0x00 0xAA followed by the echo of a command the sensor
// answers with a frame. Bytes ahead of such a start (noise, the tail of an answer cut by a
// flush) are dropped. Once a frame has started, its 36 bytes are taken whole, so a 0x00 0xAA
// pair inside a payload never pulls the reader out of step. When a whole frame's worth of bytes
// has been dropped without a frame start, those 36 bytes are handed over as a frame out of step,
// so that a line that never shows the sync word ends a wait with its own text instead of a
// time-out.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qrix::link {

inline constexpr std::size_t kAnswerFrameBytes = 36;
using FrameBytes = std::array<std::uint8_t, kAnswerFrameBytes>;

struct ReceivedFrame {
  FrameBytes bytes{};
  bool inSync = true;  // starts with the sync word; false for a frame out of step
  std::uint16_t echo() const { return static_cast<std::uint16_t>(bytes[2] << 8 | bytes[3]); }
};

// The commands the sensor answers with a 36-byte frame; their echo marks a frame start.
bool isFrameEcho(std::uint16_t echo);

class FrameReader {
 public:
  void push(const std::uint8_t* data, std::size_t n);
  // The next whole frame, or none while bytes are still missing.
  std::optional<ReceivedFrame> next();
  // Discards everything buffered, as a flush of the input queue does.
  void clear();

  std::size_t buffered() const { return bytes_.size() - head_; }
  // The fewest further bytes that can complete a frame, in step or out of step: every byte
  // held, kept or dropped, can belong to at most one frame of 36. At least 1 once next() has
  // returned none.
  std::size_t fewestBytesToFrame() const {
    return kAnswerFrameBytes - std::min(kAnswerFrameBytes, buffered() + lost_.size());
  }
  // Bytes dropped ahead of a frame start since the reader was made.
  std::uint64_t droppedBytes() const { return dropped_; }

 private:
  void drop(std::size_t n);

  std::vector<std::uint8_t> bytes_;
  std::size_t head_ = 0;            // first byte not yet taken or dropped
  std::vector<std::uint8_t> lost_;  // dropped bytes not yet handed over as a frame out of step
  std::uint64_t dropped_ = 0;
};

}  // namespace qrix::link
