#include "serve_loop.hpp"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <span>

namespace qrix::sim {

namespace {

double monotonicSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A slave side that nobody holds reports POLLHUP at once; looking again after
// this pause keeps the loop from spinning.
constexpr double kHangupBackoff = 0.02;

// Closing the master discards what the client has not read yet, so the last
// answer is given this long to be read before the line drops; the first part
// lets the bytes pass the pty's buffers before their count is looked at.
constexpr double kHangUpSettle = 0.05;
constexpr double kHangUpGrace = 1.0;
constexpr double kDrainCheck = 0.01;

timespec toTimespec(double seconds) {
  const double whole = std::floor(seconds);
  return {static_cast<time_t>(whole), static_cast<long>((seconds - whole) * 1e9)};
}

}  // namespace

ServeLoop::ServeLoop(PtyLine& line, SensorPair& sensor, bool pacing, std::ostream& log)
    : line_(line),
      sensor_(sensor),
      schedule_(pacing),
      pacing_(pacing),
      log_(log),
      start_(monotonicSeconds()) {}

double ServeLoop::elapsed() const {
  return monotonicSeconds() - start_;
}

int ServeLoop::run(int stopFd) {
  bool backOff = false;
  for (;;) {
    std::array<pollfd, 2> fds{
        {{stopFd, POLLIN, 0}, {line_.isOpen() && !backOff ? line_.master() : -1, POLLIN, 0}}};
    std::optional<double> wait;
    if (const auto due = schedule_.nextDueTime()) {
      wait = std::max(0.0, *due - elapsed());
    }
    if (backOff) {
      wait = std::min(wait.value_or(kHangupBackoff), kHangupBackoff);
    }
    if (hangUpAt_ && line_.isOpen()) {
      wait = std::min(wait.value_or(kDrainCheck), kDrainCheck);
    }
    const timespec timeout = toTimespec(wait.value_or(0.0));
    const int ready = ::ppoll(fds.data(), fds.size(), wait ? &timeout : nullptr, nullptr);
    if (ready < 0 && errno != EINTR) {
      std::perror("qrix-sensor-sim: ppoll");
      return 1;
    }
    if (fds[0].revents & POLLIN) {
      signalfd_siginfo info{};
      [[maybe_unused]] const auto n = ::read(stopFd, &info, sizeof info);
      log_ << "stopping on signal " << info.ssi_signo << std::endl;
      return 0;
    }
    backOff = false;
    if (fds[1].revents & POLLIN) {
      readRequests();
    } else if (fds[1].revents & (POLLHUP | POLLERR)) {
      backOff = true;
    }
    writeDueBytes();
    hangUpWhenDrained();
  }
}

void ServeLoop::hangUpWhenDrained() {
  if (!line_.isOpen() || !sensor_.hungUp() || !schedule_.empty()) {
    return;
  }
  const double now = elapsed();
  if (!hangUpAt_) {
    hangUpAt_ = now + kHangUpGrace;
    settledAt_ = now + kHangUpSettle;
  }
  if ((now >= settledAt_ && line_.unreadByClient() == 0) || now >= *hangUpAt_) {
    line_.hangUp();
    log_ << "line hung up" << std::endl;
  }
}

void ServeLoop::readRequests() {
  std::array<std::uint8_t, 512> buffer{};
  const ssize_t n = ::read(line_.master(), buffer.data(), buffer.size());
  if (n <= 0) {
    return;  // EAGAIN, or EIO while no client holds the line
  }
  // A pseudo-terminal hands over a whole request at once; on a real line its last byte is in
  // only after every byte has crossed at 19200 baud.
  double arrived = elapsed();
  if (pacing_) {
    requestLineFree_ = std::max(requestLineFree_, arrived) + static_cast<double>(n) * kByteTime;
    arrived = requestLineFree_;
  }
  for (const Transmission& t :
       sensor_.receive(std::span(buffer.data(), static_cast<std::size_t>(n)), arrived)) {
    schedule_.add(t, arrived);
  }
  logNewRequests();
}

// A real line does not wait for a receiver that is not listening: bytes the
// pty cannot take are lost.
void ServeLoop::writeDueBytes() {
  const std::vector<std::uint8_t> due = schedule_.takeDue(elapsed());
  if (due.empty() || !line_.isOpen()) {
    return;
  }
  const ssize_t written = ::write(line_.master(), due.data(), due.size());
  const std::size_t lost =
      written < 0 ? due.size() : due.size() - static_cast<std::size_t>(written);
  if (lost > 0 && droppedBytes_ == 0) {
    log_ << "pty full: answer bytes lost" << std::endl;
  }
  droppedBytes_ += lost;
}

void ServeLoop::logNewRequests() {
  const auto& requests = sensor_.requests();
  for (; loggedRequests_ < requests.size(); ++loggedRequests_) {
    const RequestRecord& r = requests[loggedRequests_];
    char line[96];
    std::snprintf(line, sizeof line, "request cmd=%u arg=%u t=%.3f", r.command, r.argument, r.time);
    log_ << line << std::endl;
  }
}

}  // namespace qrix::sim
