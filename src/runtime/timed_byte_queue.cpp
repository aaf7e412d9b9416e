#include "runtime/timed_byte_queue.h"

#include <algorithm>

namespace qrix::serial {

void TimedByteQueue::settle() {
  const double t = clock_();
  while (!pending_.empty() && pending_.front().time <= t) {
    // A full input queue drops what arrives.
    if (queue_.size() < kQueueSize) {
      queue_.push_back(pending_.front().byte);
    }
    pending_.pop_front();
  }
}

std::size_t TimedByteQueue::read(std::uint8_t* data, std::size_t n) {
  settle();
  const std::size_t count = std::min(n, queue_.size());
  std::copy_n(queue_.begin(), count, data);
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(count));
  return count;
}

std::size_t TimedByteQueue::length() {
  settle();
  return queue_.size();
}

void TimedByteQueue::flush() {
  settle();
  queue_.clear();
}

std::optional<double> TimedByteQueue::nextArrival() const {
  if (pending_.empty()) {
    return std::nullopt;
  }
  return pending_.front().time;
}

}  // namespace qrix::serial
