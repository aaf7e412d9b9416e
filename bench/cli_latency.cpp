// qrix-cli info and get as a production script runs them: the whole process, start to exit,
// against qrix-sensor-sim on a pseudo-terminal with no reaction time. The floor is the program's
// own pauses (0.1 s after each identification step and between parameter frames; none after
// get's last frame, which nothing follows) plus the line time of every request and answer at
// 19200 baud 8N1. Printed as the ratio to that floor.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "child_process.h"

namespace {

constexpr double kByteSeconds = 10.0 / 19200.0;
constexpr double kFrameBytes = 36;
constexpr double kFirmwareBytes = 72;
constexpr double kPause = 0.1;
constexpr double kTarget = 1.03;

// Line check, hardware information and three RAM frames (each a frame out and one back, each
// followed by a pause), then the firmware text (a frame out, 72 bytes back).
constexpr double identificationFloor() {
  return 5 * (2 * kFrameBytes * kByteSeconds + kPause) +
         (kFrameBytes + kFirmwareBytes) * kByteSeconds;
}
// get reads the three frames again, with the pause between them.
constexpr double getFloor() {
  return identificationFloor() + 3 * 2 * kFrameBytes * kByteSeconds + 2 * kPause;
}

// Waits for the exit in waitpid itself: a polling wait would add its own step to every run.
double runOnce(const std::string& device, const char* command, bool& ok) {
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
  std::string path = QRIX_CLI_PATH, port = "--port", dev = device, cmd = command;
  char* argv[] = {path.data(), port.data(), dev.data(), cmd.data(), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  int status = -1;
  if (posix_spawn(&pid, path.c_str(), &quiet, nullptr, argv, environ) == 0) {
    waitpid(pid, &status, 0);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  posix_spawn_file_actions_destroy(&quiet);
  ok &= WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return seconds;
}

}  // namespace

int main() {
  qrix::testing::ChildProcess sim(QRIX_SENSOR_SIM_PATH, {"--reaction", "0"});
  const std::string device = sim.readStdoutLine(5);
  if (device.rfind("/dev/", 0) != 0) {
    std::fprintf(stderr, "cli latency: no simulator (%s)\n", device.c_str());
    return 1;
  }
  constexpr int kRuns = 5;
  bool ok = true;
  bool within = true;
  const struct {
    const char* command;
    double floor;
  } cases[] = {{"info", identificationFloor()}, {"get", getFloor()}};
  for (const auto& c : cases) {
    runOnce(device, c.command, ok);  // settle caches and the line
    double total = 0;
    for (int i = 0; i < kRuns; ++i) {
      total += runOnce(device, c.command, ok);
    }
    const double mean = total / kRuns;
    within &= mean / c.floor <= kTarget;
    std::printf("qrix-cli %-4s: %.3f s per run, floor %.3f s, ratio %.3f (target <= %.2f)\n",
                c.command, mean, c.floor, mean / c.floor, kTarget);
  }
  return ok && within ? 0 : 1;
}
