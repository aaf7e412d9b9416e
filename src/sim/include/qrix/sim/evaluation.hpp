#pragma once

// How the sensor pair turns the two edge positions into its measured value,
// and the maximum and minimum it holds until told to restart them.

#include <algorithm>
#include <cstdint>
#include <optional>

namespace qrix::sim {

// Evaluation modes: 0 the slave's edge, 1 the master's edge, 2 the sum of
// both, 3 and 4 the thru-beam total (the two lines meet at `virtPixels`, so the
// total is also the sum of both edges). The sums are kept within
// 2 * virtPixels and within a word. Unknown modes measure like mode 1.
std::uint16_t measuredValue(std::uint16_t evalMode, std::uint16_t masterEdge,
                            std::uint16_t slaveEdge, std::uint16_t virtPixels);

// Measured value times the master's scale (micrometres per virtual pixel times
// 1024), divided by 1024. Saturates instead of wrapping past the signed 32-bit
// range, so a huge scale never reports a negative length.
std::int32_t micrometres(std::uint16_t measured, std::uint32_t scale);

class HeldExtremes {
 public:
  // A long pause between requests is caught up by looking at this many of the
  // latest scans; that covers more than one period of the object's motion.
  static constexpr std::int64_t kMaxCatchUpScans = 40000;

  // Starts holding afresh from `scan` on.
  void restartAt(std::int64_t scan) {
    nextScan_ = scan;
    taken_ = false;
  }

  // Starts holding afresh from whichever scan is caught up next.
  void restart() {
    nextScan_.reset();
    taken_ = false;
  }

  // Takes the measured value of every scan not yet seen up to and including
  // `scan`; `valueOfScan(s)` gives the value of scan s.
  template <typename ValueOfScan>
  void catchUp(std::int64_t scan, ValueOfScan valueOfScan) {
    const std::int64_t from =
        nextScan_ ? std::clamp(*nextScan_, scan - kMaxCatchUpScans + 1, scan) : scan;
    for (std::int64_t s = from; s <= scan; ++s) {
      take(valueOfScan(s));
    }
    nextScan_ = std::max(nextScan_.value_or(scan + 1), scan + 1);
  }

  std::uint16_t max() const { return max_; }
  std::uint16_t min() const { return min_; }

 private:
  void take(std::uint16_t value) {
    max_ = taken_ ? std::max(max_, value) : value;
    min_ = taken_ ? std::min(min_, value) : value;
    taken_ = true;
  }

  std::optional<std::int64_t> nextScan_ = 0;  // empty: begin at the next scan caught up
  bool taken_ = false;
  std::uint16_t max_ = 0;
  std::uint16_t min_ = 0;
};

}  // namespace qrix::sim
