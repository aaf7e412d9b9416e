// The services on a program that has no panel at all, as the command line runs them: what they
// return, what the program takes from it and the status texts they give, against the simulated
// pair; and the hardware answer decoded from its bytes alone.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "params/param_file.h"
#include "program/hardware_answer.h"
#include "program/memory_target.h"
#include "program/program.h"
#include "qrix/sim/sensor_pair.hpp"
#include "runtime/headless/headless_runtime.h"
#include "services/identify.h"
#include "services/parameter_exchange.h"
#include "services/sensor_line.h"
#include "sim_line/sim_line_device.h"

namespace qrix::testing {
namespace {

TEST(HardwareAnswerBytes, EachWordLandsInItsOwnValue) {
  // Sync word, echo 10, then eleven words high byte first; every word differs from the others.
  const std::array<std::uint8_t, 36> frame = {
      0x00, 0xAA, 0x00, 0x0A,                          // sync, echo
      0x00, 0x04, 0x02, 0x00, 0x00, 0x7D, 0x00, 0x01,  // ccdtype 4, maxpixel 512, resolution, pcb
      0x08, 0x00, 0x00, 0x04, 0x00, 0x10, 0x01, 0xF0,  // virtpixel 2048, subpixel, pixB, pixE
      0x01, 0x31, 0x27, 0x50, 0x04, 0x00,              // softversion 305, hwtype, adcmax 1024
  };
  const HardwareWords w = decodeHardwareAnswer(frame);
  EXPECT_EQ(w.ccdtype, 4);
  EXPECT_EQ(w.ccdmaxpixel, 512);
  EXPECT_EQ(w.ccdresolution, 125);
  EXPECT_EQ(w.pcbtype, 1);
  EXPECT_EQ(w.ccdvirtpixel, 2048);
  EXPECT_EQ(w.ccdsubpixel, 4);
  EXPECT_EQ(w.ccdpixB, 16);
  EXPECT_EQ(w.ccdpixE, 496);
  EXPECT_EQ(w.softversion, 305);
  EXPECT_EQ(w.hwtype, 0x2750);
  EXPECT_EQ(w.adcmax, 1024);
}

// A program on the headless runtime with no panel source: every ui call would find nothing.
class Windowless : public ::testing::Test {
 protected:
  explicit Windowless(sim::HardwareInfo hw = sim::HardwareInfo::forCcdType(4))
      : sensor(std::make_shared<sim::SensorPair>(hw)),
        rt([](int) { return std::optional<ui::PanelTemplate>{}; }),
        p(rt) {
    rt.serial().setPorts({{1, "/dev/ttyS0", "COM1  /dev/ttyS0"}});
    rt.serial().setOpener([this](const serial::PortEntry&, const serial::OpenSettings&,
                                 serial::OpenError&) -> std::unique_ptr<serial::SerialDevice> {
      return std::make_unique<serial::SimLineDevice>(sensor, [this] { return rt.Timer(); });
    });
    p.onStatusShown = [this](std::string_view text) { statuses.emplace_back(text); };
  }

  std::shared_ptr<sim::SensorPair> sensor;
  HeadlessRuntime rt;
  Program p;
  std::vector<std::string> statuses;
};

TEST_F(Windowless, TheIdentificationReturnsWhatTheSensorReportsAndTellsEachStep) {
  sensor->setFirmwareText("QRIX-TB 3.05");
  ASSERT_TRUE(openLine(p, 1));
  const Identification id = identifySensor(p);
  EXPECT_TRUE(id.lineChecked);
  EXPECT_TRUE(id.parametersRead);
  ASSERT_TRUE(id.hardware);
  EXPECT_EQ(id.hardware->ccdtype, 4);
  EXPECT_EQ(id.firmware, "QRIX-TB 3.05");
  // The scales follow the hardware: type 4 has 2048 virtual pixels and an 8-bit converter.
  EXPECT_EQ(p.st.ccdvirtpixel, 2048);
  EXPECT_EQ(p.st.ADCMAX, 256);
  EXPECT_TRUE(p.ui().panelHandles().empty());
  const std::vector<std::string> expected = {
      "Echo Check - Line Ok!",
      "Waiting for parameter-frame ...",
      "Parameter-frame received! - Line Ok!",
      "Waiting for parameter-frame ...",
      "Parameter-frame received! - Line Ok!",
      "Waiting for parameter-frame ...",
      "Parameter-frame received! - Line Ok!",
      "Waiting for firmware info ...",
      "QRIX-TB 3.05",
  };
  EXPECT_EQ(statuses, expected);
}

TEST_F(Windowless, ACcdIsDescribedOnlyWhenItsBoardIsTheOneItsTypeNames) {
  HardwareWords type4;
  type4.ccdtype = 4;
  type4.hwtype = 0x2750;
  const CcdDescription known = describeCcd(type4);
  EXPECT_EQ(known.lines[0], "512-pixel; 12.5µm pixel-pitch");
  EXPECT_EQ(known.lines[3], "working-range = 6.4mm");
  EXPECT_STREQ(known.mode0, "ADC-CONV");
  type4.hwtype = 0x2760;
  const CcdDescription foreignBoard = describeCcd(type4);
  EXPECT_EQ(foreignBoard.lines[0], "CCD-SENSOR: No Info Avialable!");
  EXPECT_EQ(foreignBoard.lines[1], std::string(32, ' '));
  EXPECT_STREQ(foreignBoard.mode1, "DIG-COMP");
  type4.ccdtype = 9;
  EXPECT_EQ(describeCcd(type4).mode0, nullptr);
}

TEST_F(Windowless, WordsReadIntoACopyLeaveTheRecordAndTheLastPauseGoesWhereNothingFollows) {
  ASSERT_TRUE(openLine(p, 1));
  const ParameterRecord before = p.st.parameter;
  double start = rt.Timer();
  const std::optional<RecordWords> words = readParameterWords(p, kTargetEeprom, PauseAfter::No);
  const double withoutPause = rt.Timer() - start;
  ASSERT_TRUE(words);
  EXPECT_EQ(recordToWords(p.st.parameter), recordToWords(before));
  start = rt.Timer();
  ASSERT_TRUE(readParameterWords(p, kTargetEeprom, PauseAfter::Yes));
  EXPECT_NEAR(rt.Timer() - start - withoutPause, 0.1, 0.01);
}

TEST_F(Windowless, AWriteSendsTheRecordThatAReadThenReturns) {
  ASSERT_TRUE(openLine(p, 1));
  ASSERT_TRUE(readParameterRecord(p, kTargetRam, PauseAfter::Yes));
  p.st.parameter.master.teach = 1234;
  p.st.parameter.sys.setpoint = 16543;
  ASSERT_TRUE(writeParameterRecord(p, kTargetRam));
  EXPECT_EQ(statuses.back(), "Line Ok!");
  rt.Delay(0.1);
  p.st.parameter = ParameterRecord{};
  ASSERT_TRUE(readParameterRecord(p, kTargetRam, PauseAfter::No));
  EXPECT_EQ(p.st.parameter.master.teach, 1234);
  EXPECT_EQ(p.st.parameter.sys.setpoint, 16543);
}

}  // namespace
}  // namespace qrix::testing
