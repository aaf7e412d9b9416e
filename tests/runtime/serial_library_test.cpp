// The serial library's port numbers: COM port names and the number each stands for, and the
// port a device named on the command line gets, which on Windows is the COM port's own number.

#include "runtime/serial_library.h"

#include <gtest/gtest.h>

#include "sensor_link/port_setup.h"

namespace qrix::serial {
namespace {

TEST(ComPortNumber, ReadsTheNumberOfEveryWindowsSpellingAndNothingElse) {
  struct Case {
    const char* name;
    std::optional<int> number;
  };
  const Case cases[] = {
      {"COM1", 1},
      {"com7", 7},
      {"Com12", 12},
      {"\\\\.\\COM12", 12},
      {"COM256", 256},
      {"COM", std::nullopt},
      {"COM0", std::nullopt},
      {"COM01", std::nullopt},
      {"COM1A", std::nullopt},
      {"COM-1", std::nullopt},
      {"COMX", std::nullopt},
      {"COM99999", std::nullopt},
      {"/dev/ttyS0", std::nullopt},
      {"\\\\.\\", std::nullopt},
      {"LPT1", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(comPortNumber(c.name), c.number) << c.name;
  }
}

// The ports of a machine with COM1 and COM3, as the port list numbers them, and the port each
// --port value then opens.
class PortOfArgument : public ::testing::Test {
 protected:
  void SetUp() override {
    lib.setPorts({{1, "COM1", "COM1"}, {3, "COM3", "COM3"}});
    lib.setOpener([this](const PortEntry& entry, const OpenSettings&, OpenError&) {
      opened = entry.device;
      return std::unique_ptr<SerialDevice>();
    });
  }
  // The device the port of a --port value opens.
  std::string deviceOf(const std::string& value, int& number) {
    number = portOfArgument(lib, value);
    opened.clear();
    lib.OpenComConfig(number, "", 19200, kNoParity, 8, 1, 4096, 4096);
    return opened;
  }
  SerialLibrary lib;
  std::string opened;
};

TEST_F(PortOfArgument, AComNameOpensThatComPortUnderItsOwnNumberOnWindows) {
  struct Case {
    const char* value;
    int number;
    const char* device;
  };
#ifdef _WIN32
  const Case cases[] = {
      {"COM3", 3, "COM3"},
      {"com3", 3, "COM3"},
      {"COM7", 7, "COM7"},
      {"3", 3, "COM3"},
      {"\\\\.\\COM12", 12, "\\\\.\\COM12"},
      {"COM7", 7, "COM7"},
  };
#else
  // Elsewhere a COM name is a file name like any other and joins the list after its ports.
  const Case cases[] = {
      {"COM3", 3, "COM3"},
      {"com3", 4, "com3"},
      {"COM7", 5, "COM7"},
      {"3", 3, "COM3"},
  };
#endif
  for (const Case& c : cases) {
    int number = 0;
    EXPECT_EQ(deviceOf(c.value, number), c.device) << c.value;
    EXPECT_EQ(number, c.number) << c.value;
  }
}

}  // namespace
}  // namespace qrix::serial
