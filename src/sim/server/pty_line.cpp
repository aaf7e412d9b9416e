#include "pty_line.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <system_error>

namespace qrix::sim {

namespace {

[[noreturn]] void fail(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

void makeRaw(int fd) {
  termios settings{};
  if (::tcgetattr(fd, &settings) != 0) {
    fail("tcgetattr");
  }
  ::cfmakeraw(&settings);
  settings.c_cc[VMIN] = 1;
  settings.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
    fail("tcsetattr");
  }
}

}  // namespace

PtyLine PtyLine::open() {
  PtyLine line;
  line.master_ = UniqueFd(::posix_openpt(O_RDWR | O_NOCTTY));
  if (!line.master_.valid()) {
    fail("posix_openpt");
  }
  if (::grantpt(line.master()) != 0 || ::unlockpt(line.master()) != 0) {
    fail("grantpt/unlockpt");
  }
  char path[128];
  if (::ptsname_r(line.master(), path, sizeof path) != 0) {
    fail("ptsname_r");
  }
  line.devicePath_ = path;
  line.slave_ = UniqueFd(::open(path, O_RDWR | O_NOCTTY));
  if (!line.slave_.valid()) {
    fail("open slave");
  }
  // A client may leave the slave in any mode; echo or line editing there
  // would send the answers straight back to us, so both sides start raw.
  makeRaw(line.slave_.get());
  makeRaw(line.master());
  // The server must never block on a client that is not reading.
  const int flags = ::fcntl(line.master(), F_GETFL);
  if (flags < 0 || ::fcntl(line.master(), F_SETFL, flags | O_NONBLOCK) != 0) {
    fail("fcntl");
  }
  return line;
}

int PtyLine::unreadByClient() const {
  int count = 0;
  return slave_.valid() && ::ioctl(slave_.get(), FIONREAD, &count) == 0 ? count : 0;
}

void PtyLine::hangUp() {
  master_.reset();
  slave_.reset();
}

}  // namespace qrix::sim
