// Serial lines on Qt Serial Port, driven through a pseudo terminal: open errors, bytes in
// without pumping, bytes out without pumping, a hang-up that leaves a failed line instead of
// a crash, and the stable numbering of enumerated ports.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <cstdlib>
#include <thread>

#include "runtime/qt/qt_port_list.h"
#include "runtime/qt/qt_serial_device.h"
#include "synthetic_panels.h"

namespace qrix::test {
namespace {

using qt::QtSerialDevice;

class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
      if (const char* name = ptsname(master_)) {
        path_ = name;
      }
    }
  }
  ~PseudoTerminal() { hangUp(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& path() const { return path_; }
  void send(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  std::string receive(size_t n, int timeoutMs) {
    std::string got;
    pollfd p{master_, POLLIN, 0};
    while (got.size() < n && ::poll(&p, 1, timeoutMs) > 0) {
      char buf[64];
      ssize_t r = ::read(master_, buf, sizeof buf);
      if (r <= 0) {
        break;
      }
      got.append(buf, static_cast<size_t>(r));
    }
    return got;
  }
  void hangUp() {
    if (master_ >= 0) {
      ::close(master_);
    }
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string path_;
};

// Waits as a program loop that does not pump would: short sleeps between queue polls.
size_t waitForQueue(QtSerialDevice& device, size_t n) {
  QElapsedTimer t;
  t.start();
  while (device.inQueueLength() < n && t.elapsed() < 1000) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return device.inQueueLength();
}

class SerialDevice : public ::testing::Test {
 protected:
  std::unique_ptr<QtSerialDevice> open(const std::string& path) {
    serial::OpenError error;
    auto device = QtSerialDevice::open(path, serial::OpenSettings{}, error);
    EXPECT_EQ(error.code, device ? 0 : error.code);
    return device;
  }
  PseudoTerminal pty;
};

TEST_F(SerialDevice, LibraryOpensThroughTheQtOpenerAndReportsItsCodes) {
  serial::SerialLibrary lib;
  lib.setOpener(qt::openQtSerialDevice);
  int missing = lib.addPort("/dev/ttyQRIXmissing9", "missing");
  EXPECT_EQ(lib.OpenComConfig(missing, "", 19200, 0, 8, 1, 512, 512), serial::kErrNoSerialPort);
  ASSERT_FALSE(pty.path().empty());
  int line = lib.addPort(pty.path(), "pty");
  ASSERT_EQ(lib.OpenComConfig(line, "", 19200, 0, 8, 1, 512, 512), 0);
  const std::uint8_t frame[3] = {0x02, 0x10, 0x03};
  EXPECT_EQ(lib.ComWrt(line, frame, 3), 3);
  EXPECT_EQ(pty.receive(3, 500), std::string("\x02\x10\x03", 3));
}

TEST_F(SerialDevice, BytesArriveInTheQueueWithoutPumpingAndAFlushDropsThem) {
  auto device = open(pty.path());
  ASSERT_NE(device, nullptr);
  pty.send("hello");
  ASSERT_EQ(waitForQueue(*device, 5), 5u);
  std::uint8_t buf[8] = {};
  EXPECT_EQ(device->read(buf, 8), 5u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 5), "hello");
  EXPECT_EQ(device->inQueueLength(), 0u);
  pty.send("stale");
  ASSERT_EQ(waitForQueue(*device, 5), 5u);
  device->flushInput();
  EXPECT_EQ(device->inQueueLength(), 0u);
}

TEST_F(SerialDevice, HangUpLeavesAFailedLineThatReadsAndWritesNothing) {
  auto device = open(pty.path());
  ASSERT_NE(device, nullptr);
  pty.hangUp();
  QElapsedTimer t;
  t.start();
  while (!device->failed() && t.elapsed() < 1000) {
    device->inQueueLength();
  }
  EXPECT_TRUE(device->failed());
  std::uint8_t buf[4] = {1, 2, 3, 4};
  EXPECT_EQ(device->write(buf, 4), 0u);
  EXPECT_EQ(device->read(buf, 4), 0u);
  EXPECT_EQ(device->inQueueLength(), 0u);
}

TEST(PortList, PortsAreNumberedTtySThenUsbThenAcmThenOthersNumerically) {
  auto ports = qt::numberDevicePaths({"/dev/ttyUSB1", "/dev/rfcomm0", "/dev/ttyACM0", "/dev/ttyS10",
                                      "/dev/ttyS2", "/dev/ttyUSB0"});
  std::vector<std::string> order;
  for (const auto& p : ports) {
    order.push_back(p.device);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0",
                                             "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/rfcomm0"}));
  EXPECT_EQ(ports[2].number, 3);
  EXPECT_EQ(ports[2].label, "COM3  /dev/ttyUSB0");
}

}  // namespace
}  // namespace qrix::test
