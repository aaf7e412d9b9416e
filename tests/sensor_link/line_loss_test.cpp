// A cable pulled and plugged in again: the running exchange ends on its own text, then the
// status line says "Serial port lost!", the port is closed and the health shows the loss;
// choosing the port again reopens it and identifies the sensor. Also the port list following
// the devices that come and go, with every device keeping its number, and a port that does not
// open turning the link indicator red.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sensor_link/port_setup.h"
#include "support/scope_fixture.h"
#include "support/this_process.h"

namespace qrix::testing {
namespace {

namespace m = ids::main;

class LineLoss : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.start(), 0); }
  bool logHas(const std::string& text) {
    return st.health.logText().find(text) != std::string::npos;
  }
  Scope s;
  ProgramState& st = s.p.st;
};

TEST_F(LineLoss, RunEndsOnItsOwnTextThenTheLossIsToldAndChoosingThePortAgainIdentifies) {
  s.rt.at(s.rt.Timer() + 0.5, [&] { s.unplug(); });
  const double t0 = s.rt.Timer();
  s.click(st.pHandle, m::BTNRun);
  EXPECT_LT(s.rt.Timer() - t0, 0.6);  // not the 3 s of a silent sensor
  EXPECT_EQ(s.status(), "Serial port lost!");
  EXPECT_EQ(st.stop_flag, 1);
  EXPECT_FALSE(s.rt.serial().isOpen(st.com));
  EXPECT_EQ(st.health.state(), link::LinkState::Failed);
  EXPECT_EQ(st.health.counters(link::ExchangeKind::Run).lineLost, 1u);
  EXPECT_TRUE(logHas("serial port lost: /dev/ttyS0"));

  // GET on the lost port times out as on a dead line and changes nothing.
  const std::uint16_t power = st.parameter.master.power;
  s.click(st.pHandle, m::BTNGet);
  EXPECT_EQ(s.status(), "Timeout-RS-232...");
  EXPECT_EQ(st.parameter.master.power, power);

  // Plugged in again: the same port is chosen again, and it is the same port as before.
  const int before = st.com;
  s.ui().SetCtrlVal(st.pHandle, m::DropDCom, before);
  s.commit(st.pHandle, m::DropDCom);
  EXPECT_EQ(st.com, before);
  EXPECT_TRUE(st.lineChecked);
  EXPECT_EQ(s.status(), s.sensor->firmwareText());
  EXPECT_NE(st.health.state(), link::LinkState::Failed);
}

TEST_F(LineLoss, ALossWhileIdleIsToldAtOnce) {
  s.unplug();
  s.p.pump();
  EXPECT_EQ(s.status(), "Serial port lost!");
  EXPECT_EQ(st.health.state(), link::LinkState::Failed);
}

TEST_F(LineLoss, TheRecordingKeepsEveryCompleteLine) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("qrix-loss-" + std::to_string(processId()) + ".dat");
  st.rec_fname = file.string();
  s.ui().SetCtrlVal(st.pPopUp, ids::popup::NEDITRecTime, 0);
  s.ui().SetCtrlVal(st.pPopUp, ids::popup::NEDITRecSamples, 1000);
  s.rt.at(s.rt.Timer() + 1.0, [&] { s.unplug(); });
  s.click(st.pPopUp, ids::popup::BTNStartRecord);
  const auto counted =
      static_cast<std::size_t>(s.ui().GetCtrlVal(st.pPopUp, ids::popup::NUMRecCount));
  std::string text;
  {  // closed before the removal: Windows refuses to remove an open file
    std::ifstream in(file, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  std::filesystem::remove(file);
  EXPECT_GT(counted, 10u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), static_cast<long>(4 + counted));
  EXPECT_TRUE(text.ends_with("\r\n"));
  EXPECT_EQ(s.status(), "Serial port lost!");
}

TEST(PortList, FollowsDevicesAndEveryDeviceKeepsItsNumber) {
  serial::SerialLibrary lib;
  int changes = 0;
  lib.setPortsChangedHandler([&] { ++changes; });
  lib.setPorts({{1, "/dev/ttyS0", "COM1  /dev/ttyS0"}, {2, "/dev/ttyUSB0", "COM2  /dev/ttyUSB0"}});
  const int path = lib.addPort("/dev/pts/7", "PATH  /dev/pts/7");
  lib.addPort(serial::kSimDevice, "SIM  simulated sensor pair");
  const auto numbers = [&] {
    std::vector<std::pair<int, std::string>> out;
    for (const auto& e : lib.ports()) {
      out.emplace_back(e.number, e.device);
    }
    return out;
  };
  using List = std::vector<std::pair<int, std::string>>;

  // The adapter is pulled: the numbering of a fresh enumeration would give its number to the
  // next device, which must not happen.
  lib.followPorts({{1, "/dev/ttyS0", "COM1  /dev/ttyS0"}});
  EXPECT_EQ(numbers(), (List{{1, "/dev/ttyS0"}, {path, "/dev/pts/7"}, {-1, "sim"}}));
  lib.followPorts(
      {{1, "/dev/ttyS0", "COM1  /dev/ttyS0"}, {2, "/dev/ttyUSB1", "COM2  /dev/ttyUSB1"}});
  EXPECT_EQ(numbers(),
            (List{{1, "/dev/ttyS0"}, {path, "/dev/pts/7"}, {4, "/dev/ttyUSB1"}, {-1, "sim"}}));
  EXPECT_EQ(lib.port(4)->label, "COM4  /dev/ttyUSB1");
  // Plugged in again, it has its number back; an unchanged list is no change.
  lib.followPorts({{1, "/dev/ttyS0", "COM1  /dev/ttyS0"},
                   {2, "/dev/ttyUSB0", "COM2  /dev/ttyUSB0"},
                   {3, "/dev/ttyUSB1", "COM3  /dev/ttyUSB1"}});
  EXPECT_EQ(lib.port(2)->device, "/dev/ttyUSB0");
  EXPECT_EQ(lib.port(4)->device, "/dev/ttyUSB1");
  EXPECT_EQ(changes, 3);
  lib.followPorts({{1, "/dev/ttyS0", "COM1  /dev/ttyS0"},
                   {2, "/dev/ttyUSB0", "COM2  /dev/ttyUSB0"},
                   {3, "/dev/ttyUSB1", "COM3  /dev/ttyUSB1"}});
  EXPECT_EQ(changes, 3);
}

// At start-up, and after a line that answered: red, and the tooltip says why.
TEST(PortOpen, APortThatDoesNotOpenTurnsTheIndicatorRed) {
  Scope s;
  ProgramState& st = s.p.st;
  const auto led = [&] { return *s.ui().control(st.pHandle, m::LEDLink); };
  const std::vector<serial::PortEntry> ports = {{1, "/dev/ttyS0", "COM1  /dev/ttyS0"},
                                                {2, "/dev/ttyS9", "COM2  /dev/ttyS9"}};
  s.rt.serial().setPorts({ports[1]});  // nothing behind port 1 at start-up
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.status(), "No serial port found");
  EXPECT_EQ(led().ledColour, ui::kRed);
  EXPECT_TRUE(led().tooltip.starts_with("Link: the serial port did not open\n")) << led().tooltip;

  s.rt.serial().setPorts(ports);
  fillPortList(s.p);
  for (const auto& [port, colour] : {std::pair{1, ui::kGreen}, {2, ui::kRed}, {1, ui::kGreen}}) {
    s.ui().SetCtrlVal(st.pHandle, m::DropDCom, port);
    s.commit(st.pHandle, m::DropDCom);
    EXPECT_EQ(led().ledColour, colour) << "port " << port;
  }
  EXPECT_TRUE(led().tooltip.starts_with("Link: good\n")) << led().tooltip;
}

}  // namespace
}  // namespace qrix::testing
