#include "qrix/link/frame_reader.h"

#include <algorithm>
#include <cstring>

#include "qrix/link/commands.h"

namespace qrix::link {

namespace {
constexpr std::uint8_t kSyncHigh = cmd::kRxSync >> 8;
constexpr std::uint8_t kSyncLow = cmd::kRxSync & 0xFF;
}  // namespace

bool isFrameEcho(std::uint16_t echo) {
  switch (echo) {
    case cmd::kReadRam:
    case cmd::kReadEeprom:
    case cmd::kLineCheck:
    case cmd::kTeach:
    case cmd::kRun:
    case cmd::kHardwareInfo:
    case cmd::kResetMaxMin:
    case cmd::kClearFlash:
    case cmd::kWriteFlash: return true;
    default: return false;
  }
}

void FrameReader::push(const std::uint8_t* data, std::size_t n) {
  // Taken bytes are released before the buffer grows, so it never holds more than a frame
  // and what is still to be scanned.
  if (head_ > 0 && head_ >= bytes_.size() / 2) {
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(head_));
    head_ = 0;
  }
  bytes_.insert(bytes_.end(), data, data + n);
}

void FrameReader::clear() {
  bytes_.clear();
  head_ = 0;
  lost_.clear();
}

void FrameReader::drop(std::size_t n) {
  lost_.insert(lost_.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(head_),
               bytes_.begin() + static_cast<std::ptrdiff_t>(head_ + n));
  head_ += n;
  dropped_ += n;
}

std::optional<ReceivedFrame> FrameReader::next() {
  for (;;) {
    if (lost_.size() >= kAnswerFrameBytes) {
      ReceivedFrame stray;
      stray.inSync = false;
      std::copy_n(lost_.begin(), kAnswerFrameBytes, stray.bytes.begin());
      lost_.erase(lost_.begin(), lost_.begin() + kAnswerFrameBytes);
      return stray;
    }
    const std::size_t available = buffered();
    if (available == 0) {
      return std::nullopt;
    }
    const std::uint8_t* at = bytes_.data() + head_;
    if (at[0] != kSyncHigh) {
      // Everything up to the next 0x00 is no frame start.
      const void* zero = std::memchr(at, kSyncHigh, available);
      const std::size_t skip =
          zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - at) : available;
      drop(std::min(skip, kAnswerFrameBytes - lost_.size()));
      continue;
    }
    // A frame start is the sync word and a frame echo; wait until those four bytes are here,
    // unless the bytes of a possible start complete a frame's worth of dropped ones: that is the
    // end of a frame out of step, not a start.
    const bool outOfStepEnds = !lost_.empty() && lost_.size() + available >= kAnswerFrameBytes;
    if (available < 4 && outOfStepEnds) {
      drop(available);
      continue;
    }
    if (available < 2) {
      return std::nullopt;
    }
    if (at[1] != kSyncLow) {
      drop(1);
      continue;
    }
    if (available < 4) {
      return std::nullopt;
    }
    if (!isFrameEcho(static_cast<std::uint16_t>(at[2] << 8 | at[3]))) {
      drop(1);
      continue;
    }
    if (available < kAnswerFrameBytes) {
      return std::nullopt;
    }
    ReceivedFrame frame;
    std::copy_n(at, kAnswerFrameBytes, frame.bytes.begin());
    head_ += kAnswerFrameBytes;
    lost_.clear();
    return frame;
  }
}

}  // namespace qrix::link
