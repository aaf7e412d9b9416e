// The built qrix-sensor-sim program end to end: it announces its device,
// answers a line check over the pseudo-terminal at 19200 baud pace, logs the
// request, drops the line on the hang-up fault and stops cleanly on SIGTERM.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "sim_test_support.hpp"
#include "unique_fd.hpp"

namespace qrix::sim {
namespace {

using Clock = std::chrono::steady_clock;

// Reads until `count` bytes or a newline (if asked) came, the other end
// closed, or `timeout` seconds passed.
std::string readFor(int fd, std::size_t count, double timeout, bool untilNewline = false) {
  std::string got;
  const auto deadline = Clock::now() + std::chrono::duration<double>(timeout);
  while (got.size() < count && Clock::now() < deadline && !(untilNewline && got.ends_with('\n'))) {
    pollfd p{fd, POLLIN, 0};
    char c = 0;
    if (::poll(&p, 1, 20) == 1 && ::read(fd, &c, 1) != 1) break;
    if (p.revents & POLLIN) got.push_back(c);
  }
  return got;
}

class SimServer {
 public:
  explicit SimServer(std::vector<std::string> args) {
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return;
    stdout_.reset(out[0]);
    stderr_.reset(err[0]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    args.insert(args.begin(), QRIX_SENSOR_SIM_PATH);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    EXPECT_EQ(::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    const std::string line = readFor(stdout_.get(), 256, 5.0, true);
    devicePath_ = line.substr(0, line.find('\n'));
  }
  ~SimServer() { stop(); }

  const std::string& devicePath() const { return devicePath_; }

  // Ends the server with SIGTERM; returns its exit status.
  int stop() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, &status_, 0);
      pid_ = 0;
    }
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  }

  std::string log() { return readFor(stderr_.get(), 1 << 16, 0.5); }

 private:
  pid_t pid_ = 0;
  int status_ = 0;
  UniqueFd stdout_, stderr_;
  std::string devicePath_;
};

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

TEST(PtyServer, AnswersALineCheckAtLineSpeedLogsItAndStopsCleanly) {
  SimServer server({});
  ASSERT_TRUE(server.devicePath().starts_with("/dev/")) << server.devicePath();
  const auto start = Clock::now();
  const UniqueFd line = openRawAndSend(server.devicePath(), test::request(5));
  const std::string answer = readFor(line.get(), 36, 1.0);
  const double took = std::chrono::duration<double>(Clock::now() - start).count();

  ASSERT_EQ(answer.size(), 36u);
  EXPECT_EQ(answer.substr(0, 4), std::string("\x00\xAA\x00\x05", 4));
  EXPECT_GE(took, 36 * 10.0 / 19200.0);
  EXPECT_EQ(server.stop(), 0);
  EXPECT_NE(server.log().find("request cmd=5 arg=0 t="), std::string::npos);
}

TEST(PtyServer, HangUpFaultDropsTheLineAfterTheLastAnswer) {
  SimServer server({"--hang-up-after", "1", "--no-pacing"});
  const UniqueFd line = openRawAndSend(server.devicePath(), test::request(10));
  EXPECT_EQ(readFor(line.get(), 36, 1.0).size(), 36u);
  pollfd p{line.get(), POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 2000), 1);
  EXPECT_TRUE(p.revents & POLLHUP);
}

}  // namespace
}  // namespace qrix::sim
