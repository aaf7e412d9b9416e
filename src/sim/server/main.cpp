// qrix-sensor-sim: the simulated sensor pair served on a pseudo-terminal.

#include <fcntl.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "pty_line.hpp"
#include "serve_loop.hpp"
#include "server_options.hpp"
#include "unique_fd.hpp"

namespace {

// Puts /dev/null on a standard stream the server was started without, so that the
// pseudo-terminal cannot take its place. True when stdout was closed.
bool plugClosedStandardStreams() {
  bool stdoutClosed = false;
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
      continue;
    }
    stdoutClosed |= fd == 1;
    if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) {
      break;
    }
  }
  return stdoutClosed;
}

int serve(int argc, char** argv) {
  using namespace qrix::sim;
  // Nobody would learn the device's path.
  if (plugClosedStandardStreams()) {
    std::cerr << "qrix-sensor-sim: stdout is closed" << std::endl;
    return 1;
  }

  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const ParsedOptions parsed = parseServerOptions(args);
  if (!parsed.error.empty()) {
    std::cerr << "qrix-sensor-sim: " << parsed.error << "\n" << usageText();
    return 2;
  }
  if (parsed.help) {
    std::cout << usageText() << std::flush;
    return std::cout ? 0 : 1;
  }

  // Signals arrive as readable data in the serve loop instead of interrupting
  // it in a handler.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  if (sigprocmask(SIG_BLOCK, &stopSignals, nullptr) != 0) {
    std::perror("qrix-sensor-sim: sigprocmask");
    return 1;
  }
  const UniqueFd stopFd(signalfd(-1, &stopSignals, SFD_CLOEXEC));
  if (!stopFd.valid()) {
    std::perror("qrix-sensor-sim: signalfd");
    return 1;
  }

  PtyLine line = PtyLine::open();
  const ServerOptions& o = parsed.options;
  SensorPair sensor(o.hardware, o.faults, o.reactionTime);
  std::cout << line.devicePath() << std::endl;
  // Whoever started the server learns the device from this line alone.
  if (!std::cout) {
    std::cerr << "qrix-sensor-sim: cannot write the device path" << std::endl;
    return 1;
  }
  std::cerr << "qrix-sensor-sim: serving " << line.devicePath() << std::endl;
  return ServeLoop(line, sensor, o.pacing, std::cerr).run(stopFd.get());
}

}  // namespace

int main(int argc, char** argv) {
  // No exception leaves the program unreported.
  try {
    return serve(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "qrix-sensor-sim: " << e.what() << std::endl;
  } catch (...) {
    std::cerr << "qrix-sensor-sim: unexpected error" << std::endl;
  }
  return 1;
}
