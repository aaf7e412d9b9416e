// The built qrix-sensor-sim program end to end: it announces its device, answers a line check
// over the pseudo-terminal, logs the request, drops the line on the hang-up fault and stops
// cleanly on SIGTERM.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "child_process.h"
#include "sim_test_support.hpp"
#include "unique_fd.hpp"

namespace qrix::sim {
namespace {

using qrix::testing::ChildProcess;

// Reads until `count` bytes came, the other end closed, or about `seconds` passed.
std::string readFor(int fd, std::size_t count, double seconds) {
  std::string got;
  for (int waited = 0; got.size() < count && waited < seconds * 1000; waited += 20) {
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    if (::poll(&p, 1, 20) == 1 && ::read(fd, &c, 1) != 1) {
      break;
    }
    if (p.revents & POLLIN) {
      got.push_back(c);
    }
  }
  return got;
}

UniqueFd openRawAndSend(const std::string& path, const test::ByteVector& bytes) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY));
  termios t{};
  EXPECT_EQ(::tcgetattr(fd.get(), &t), 0) << path;
  ::cfmakeraw(&t);
  ::cfsetspeed(&t, B19200);
  ::tcsetattr(fd.get(), TCSANOW, &t);
  EXPECT_EQ(::write(fd.get(), bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  return fd;
}

TEST(PtyServer, AnswersALineCheckLogsItDropsTheLineOnHangUpAndStopsCleanly) {
  ChildProcess server(QRIX_SENSOR_SIM_PATH, {"--hang-up-after", "1", "--no-pacing"});
  const std::string device = server.readStdoutLine(5);
  ASSERT_TRUE(device.starts_with("/dev/")) << device;
  const UniqueFd line = openRawAndSend(device, test::request(5));
  const std::string answer = readFor(line.get(), 36, 1.0);
  ASSERT_EQ(answer.size(), 36u);
  EXPECT_EQ(answer.substr(0, 4), std::string("\x00\xAA\x00\x05", 4));
  EXPECT_NE(server
                .readStderrUntil(
                    [](const std::string& s) { return s.find("request cmd=5") != s.npos; }, 2)
                .find("request cmd=5 arg=0 t="),
            std::string::npos);
  pollfd p{line.get(), POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 2000), 1);
  EXPECT_TRUE(p.revents & POLLHUP);
  EXPECT_EQ(server.terminate(), 0);
}

}  // namespace
}  // namespace qrix::sim
