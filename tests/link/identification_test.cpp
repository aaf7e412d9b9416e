// Identification of the sensor from its hardware information and firmware text: CCD
// descriptions, scales, firmware-dependent controls, and every failure of the three exchanges.

#include "link/identification.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

std::string ccdLine(Scope& s, int line) {
  std::string text = s.ui().GetCtrlText(s.p.st.pCalib, ids::calib::TEXTCCDInfo);
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t nl = text.find('\n', start);
    lines.push_back(text.substr(start, nl - start));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  return static_cast<size_t>(line) < lines.size() ? lines[static_cast<size_t>(line)] : "";
}

std::string opmodeLabel(Scope& s, int panel, int item) {
  return s.ui().control(panel, ids::sensor::DROPopmode)->items[static_cast<size_t>(item)].label;
}

TEST(Identification, CcdType1WithItsHardwareTypeShowsAllFourLines) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(ccdLine(s, 0), "1024-pixel; 7.8µm pixel-pitch");
  EXPECT_EQ(ccdLine(s, 1), "4096-subpixel");
  EXPECT_EQ(ccdLine(s, 2), "resolution    = +/- 2µm");
  EXPECT_EQ(ccdLine(s, 3), "working-range = 8mm");
  EXPECT_EQ(opmodeLabel(s, s.p.st.pPara1, 0), "LOW GAIN");
  EXPECT_EQ(s.p.st.YAXISMAX, 4096);
  EXPECT_DOUBLE_EQ(s.p.st.xArray8[127], 127 * 32.0);
}

TEST(Identification, CcdType4WithForeignHardwareTypeHasNoInfoButRelabelsTheModeLists) {
  sim::HardwareInfo hw = sim::HardwareInfo::forCcdType(4);
  hw.hwType = 0x1234;
  Scope s(hw);
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(ccdLine(s, 0), "CCD-SENSOR: No Info Avialable!");
  for (int line = 1; line <= 3; ++line) EXPECT_EQ(ccdLine(s, line), std::string(32, ' '));
  EXPECT_EQ(opmodeLabel(s, s.p.st.pPara1, 0), "ADC-CONV");
  EXPECT_EQ(opmodeLabel(s, s.p.st.pPara2, 1), "DIG-COMP");
}

TEST(Identification, UnlistedVirtualPixelCountFallsBackTo2048AfterTheAxesWereSet) {
  sim::HardwareInfo hw;
  hw.ccdVirtPixel = 3072;
  Scope s(hw);
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.p.st.ccdvirtpixel, 2048);
  EXPECT_DOUBLE_EQ(s.p.st.xArray8[127], 2032);
  const auto* video = s.ui().control(s.p.st.pHandle, ids::main::GRAPHVideoMaster);
  EXPECT_DOUBLE_EQ(video->graph.x.max, 3072);
}

TEST(Identification, UnknownCcdTypeUsesTheDefaultScales) {
  sim::HardwareInfo hw;
  hw.ccdType = 9;
  hw.adcMax = 1024;
  Scope s(hw);
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(ccdLine(s, 0), "CCD-SENSOR: No Info Avialable!");
  EXPECT_EQ(s.p.st.ADCMAX, 256);
  EXPECT_EQ(s.p.st.YAXISMAX, 4096);
  EXPECT_EQ(opmodeLabel(s, s.p.st.pPara1, 0), "LOW GAIN");
}

TEST(Identification, OldFirmwareHidesDataAndNewFirmwareBringsItBack) {
  sim::HardwareInfo old;
  old.softVersion = 304;
  Scope s(old);
  ASSERT_EQ(s.start(), 0);
  const ProgramState& st = s.p.st;
  EXPECT_FALSE(s.ui().IsVisible(st.pHandle, ids::main::BTNData));
  EXPECT_TRUE(s.ui().IsDimmed(st.pPara1, ids::sensor::NUMTriggThreshold));
  EXPECT_TRUE(s.ui().IsDimmed(st.pPara2, ids::sensor::NUMTriggThreshold));
  EXPECT_EQ(s.ui().control(st.pPara0, ids::para0::DROPtrigmode)->items[3].label, "NOT-USED");

  // Another sensor with newer firmware on the same run gets the controls back.
  sim::HardwareInfo fresh;
  fresh.softVersion = 305;
  s.sensor->setHardware(fresh);
  s.ui().SetCtrlVal(st.pHandle, ids::main::DropDCom, 1);
  s.commit(st.pHandle, ids::main::DropDCom);
  EXPECT_TRUE(s.ui().IsVisible(st.pHandle, ids::main::BTNData));
  EXPECT_FALSE(s.ui().IsDimmed(st.pPara1, ids::sensor::NUMTriggThreshold));
  EXPECT_NE(s.ui().control(st.pPara0, ids::para0::DROPtrigmode)->items[3].label, "NOT-USED");
}

TEST(Identification, FirmwareTextInBothLayouts) {
  for (std::uint16_t pcb : {0, 3}) {
    sim::HardwareInfo hw;
    hw.pcbType = pcb;
    Scope s(hw);
    const std::string text = pcb == 0 ? std::string(36, 'W') : "A text of the plain byte layout";
    s.sensor->setFirmwareText(text);
    ASSERT_EQ(s.start(), 0);
    EXPECT_EQ(s.status(), text) << "pcbtype " << pcb;
    EXPECT_EQ(s.p.st.szVersion, pcb == 0 ? text : "");
  }
}

TEST(Identification, ExtraBytesAfterTheFirmwareTextAreAnError) {
  sim::Faults extra;
  extra.extraBytes = 3;
  Scope s({}, extra);
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.status(), "Error reading firmware-info!");
}

// Answers every request as a healthy sensor would, except those listed.
Responder answerAllBut(std::vector<std::uint8_t> unanswered, std::vector<std::uint8_t>* seen) {
  return [unanswered, seen](const std::vector<std::uint8_t>& request) {
    seen->push_back(request[3]);
    std::vector<std::uint8_t> answer(36, 0);
    if (std::count(unanswered.begin(), unanswered.end(), request[3]))
      return std::vector<std::uint8_t>{};
    if (request[3] == 7) return std::vector<std::uint8_t>(72, 'v');
    answer[1] = 0xAA;
    answer[3] = request[3];
    return answer;
  };
}

TEST(Identification, UnansweredHardwareRequestStillLetsTheFramesAndFirmwareBeRead) {
  Scope s;
  std::vector<std::uint8_t> seen;
  s.useResponder(answerAllBut({10}, &seen));
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(seen, (std::vector<std::uint8_t>{5, 10, 2, 2, 2, 7}));
  EXPECT_EQ(s.p.st.ccdvirtpixel, 4096);
}

TEST(Identification, ShortFirmwareTextEndsOnTheFirmwareError) {
  Scope s;
  std::vector<std::uint8_t> seen;
  s.useResponder(answerAllBut({7}, &seen));
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.status(), "Error reading firmware-info!");
}

TEST(Identification, HardwareAnswerWithAnotherEchoChangesNoStoredWord) {
  Scope s;
  // A sensor that answers every frame request with echo 2 and a virtual pixel count of 3072.
  s.useResponder([](const std::vector<std::uint8_t>& request) {
    std::vector<std::uint8_t> answer(36, 0);
    answer[1] = 0xAA;
    answer[3] = request[3] == 10 ? 2 : request[3];
    answer[10] = 0;
    answer[12] = 0x0C;
    answer[13] = 0x00;
    if (request[3] == 7) answer.assign(72, 'x');
    return answer;
  });
  ASSERT_EQ(s.start(), 0);
  EXPECT_EQ(s.p.st.ccdvirtpixel, 4096);
  EXPECT_EQ(s.p.st.ccdtype, 0);
  EXPECT_EQ(s.p.st.softversion, 0);
  // The firmware text arrived and ends the sequence; the hardware failure was reported before.
  EXPECT_EQ(s.status(), std::string(36, 'x'));
}

TEST(Identification, FactorTableCoversTheListedCounts) {
  EXPECT_EQ(xArray8Factor(256), 2);
  EXPECT_EQ(xArray8Factor(2560), 20);
  EXPECT_EQ(xArray8Factor(8192), 64);
  EXPECT_EQ(xArray8Factor(3072), 0);
  EXPECT_EQ(xArray8Factor(0), 0);
}

}  // namespace
}  // namespace qrix::testing
