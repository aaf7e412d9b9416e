#include "answer_relay.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>

namespace qrix::bench {

namespace {

constexpr std::size_t kAnswerBytes = 36;

bool makeRaw(int fd) {
  termios settings{};
  if (::tcgetattr(fd, &settings) != 0) {
    return false;
  }
  ::cfmakeraw(&settings);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

bool writeAll(int fd, const std::uint8_t* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR || errno == EAGAIN) {
        continue;
      }
      return false;
    }
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

}  // namespace

AnswerRelay::AnswerRelay(const std::string& simulatorDevice) {
  simulator_ = ::open(simulatorDevice.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (simulator_ < 0 || master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    return;
  }
  char path[128];
  if (::ptsname_r(master_, path, sizeof path) != 0) {
    return;
  }
  path_ = path;
  slave_ = ::open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0 || !makeRaw(simulator_) || !makeRaw(master_) || !makeRaw(slave_)) {
    return;
  }
  if (::pipe2(stop_, O_CLOEXEC) != 0) {
    return;
  }
  ok_ = true;
  thread_ = std::thread([this] { pass(); });
}

AnswerRelay::~AnswerRelay() {
  if (thread_.joinable()) {
    const char stop = 0;
    [[maybe_unused]] const ssize_t n = ::write(stop_[1], &stop, 1);
    thread_.join();
  }
  for (int fd : {simulator_, master_, slave_, stop_[0], stop_[1]}) {
    if (fd >= 0) {
      ::close(fd);
    }
  }
}

std::vector<AnswerRelay::Clock::time_point> AnswerRelay::answersSince(std::size_t first) const {
  std::lock_guard lock(mutex_);
  if (first >= answers_.size()) {
    return {};
  }
  return {answers_.begin() + static_cast<std::ptrdiff_t>(first), answers_.end()};
}

void AnswerRelay::pass() {
  std::array<std::uint8_t, 512> buffer{};
  std::size_t sinceRequest = kAnswerBytes;  // nothing counts before the first request
  for (;;) {
    std::array<pollfd, 3> fds{
        {{stop_[0], POLLIN, 0}, {simulator_, POLLIN, 0}, {master_, POLLIN, 0}}};
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) {
        continue;
      }
      return;
    }
    if (fds[0].revents) {
      return;
    }
    if (fds[1].revents & POLLIN) {
      const ssize_t n = ::read(simulator_, buffer.data(), buffer.size());
      if (n <= 0 || !writeAll(master_, buffer.data(), static_cast<std::size_t>(n))) {
        return;
      }
      const bool completes =
          sinceRequest < kAnswerBytes && sinceRequest + static_cast<std::size_t>(n) >= kAnswerBytes;
      sinceRequest += static_cast<std::size_t>(n);
      if (completes) {
        std::lock_guard lock(mutex_);
        answers_.push_back(Clock::now());
      }
    }
    if (fds[2].revents & POLLIN) {
      const ssize_t n = ::read(master_, buffer.data(), buffer.size());
      if (n <= 0 || !writeAll(simulator_, buffer.data(), static_cast<std::size_t>(n))) {
        return;
      }
      sinceRequest = 0;
    }
  }
}

}  // namespace qrix::bench
