#pragma once
// A pseudo-terminal of its own between the scope and the simulator's, passing bytes both ways
// on a thread and noting when the last byte of each answer (36 bytes after a request) was
// handed to the scope: the moment that answer is complete at the scope's port.

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qrix::bench {

class AnswerRelay {
 public:
  using Clock = std::chrono::steady_clock;

  // Connects to the simulator's device; ok() tells whether that and the new terminal worked.
  explicit AnswerRelay(const std::string& simulatorDevice);
  ~AnswerRelay();
  AnswerRelay(const AnswerRelay&) = delete;
  AnswerRelay& operator=(const AnswerRelay&) = delete;

  bool ok() const { return ok_; }
  // The device the scope opens.
  const std::string& devicePath() const { return path_; }
  // Completion times of the answers passed on so far, oldest first.
  std::vector<Clock::time_point> answersSince(std::size_t first) const;

 private:
  void pass();

  int simulator_ = -1;
  int master_ = -1;
  int slave_ = -1;  // held open, so the master never reads a hang-up between scope sessions
  int stop_[2] = {-1, -1};
  std::string path_;
  bool ok_ = false;
  mutable std::mutex mutex_;
  std::vector<Clock::time_point> answers_;
  std::thread thread_;
};

}  // namespace qrix::bench
