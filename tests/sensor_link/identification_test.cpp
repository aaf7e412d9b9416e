// Identification of the sensor from its hardware information and firmware text: CCD
// descriptions, scales, firmware-dependent controls, and every failure of the three exchanges.

#include "sensor_link/identification.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

TEST(Identification, CcdDescriptionScalesAndModeLabelsFollowTheHardware) {
  sim::HardwareInfo type4 = sim::HardwareInfo::forCcdType(4);
  type4.hwType = 0x1234;  // a foreign board: no description, but the type's mode labels
  sim::HardwareInfo unknown;
  unknown.ccdType = 9;
  unknown.adcMax = 1024;
  unknown.ccdVirtPixel = 1024;  // a known type's raw-chart scale would follow it
  const std::string blank(32, ' ');
  const std::string noInfo =
      "CCD-SENSOR: No Info Avialable!\n" + blank + "\n" + blank + "\n" + blank;
  struct Case {
    sim::HardwareInfo hw;
    std::string description, masterMode0, slaveMode1;
    int adcMax, yAxisMax;
  } cases[] = {
      {{},
       "1024-pixel; 7.8µm pixel-pitch\n4096-subpixel\nresolution    = +/- 2µm\nworking-range = 8mm",
       "LOW GAIN",
       "HIGH GAIN",
       1024,
       4096},
      {type4, noInfo, "ADC-CONV", "DIG-COMP", 256, 2048},
      {unknown, noInfo, "LOW GAIN", "HIGH GAIN", 256, 4096},
  };
  for (const Case& c : cases) {
    Scope s(c.hw);
    ASSERT_EQ(s.start(), 0);
    const ProgramState& st = s.p.st;
    EXPECT_EQ(s.ui().GetCtrlText(st.pCalib, ids::calib::TEXTCCDInfo), c.description);
    EXPECT_EQ(s.ui().control(st.pPara1, ids::sensor::DROPopmode)->items[0].label, c.masterMode0);
    EXPECT_EQ(s.ui().control(st.pPara2, ids::sensor::DROPopmode)->items[1].label, c.slaveMode1);
    EXPECT_EQ(st.ADCMAX, c.adcMax);
    EXPECT_DOUBLE_EQ(st.xArray8[127], 127 * st.ccdvirtpixel / 128.0);
    // The raw chart's full scale is seen only between the hardware information and the
    // panels' rewrite after frame 2 of the start-up GET, which sets it from the evaluation mode.
    ASSERT_EQ(GetHARDWAREInfo(s.p), 1);
    EXPECT_EQ(st.YAXISMAX, c.yAxisMax);
  }
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
    if (std::count(unanswered.begin(), unanswered.end(), request[3])) {
      return std::vector<std::uint8_t>{};
    }
    if (request[3] == 7) {
      return std::vector<std::uint8_t>(72, 'v');
    }
    answer[1] = 0xAA;
    answer[3] = request[3];
    return answer;
  };
}

// Every step runs although the one before failed; the last failure is the one shown.
TEST(Identification, AnUnansweredStepDoesNotStopTheSequence) {
  struct Case {
    std::uint8_t silent;
    std::string status;
  } cases[] = {{10, std::string(36, 'v')}, {7, "Error reading firmware-info!"}};
  for (const Case& c : cases) {
    Scope s;
    std::vector<std::uint8_t> seen;
    s.useResponder(answerAllBut({c.silent}, &seen));
    ASSERT_EQ(s.start(), 0);
    EXPECT_EQ(seen, (std::vector<std::uint8_t>{5, 10, 2, 2, 2, 7}));
    EXPECT_EQ(s.status(), c.status);
  }
}

// Only an answer to the hardware request sets the scales every later limit depends on: one with
// another echo does not, nor one without the sync word, a frame out of step with the line whose
// bytes 2 and 3 happen to read 10.
TEST(Identification, HardwareAnswerWithAnotherEchoOrWithoutTheSyncWordChangesNoStoredWord) {
  struct Case {
    std::uint8_t sync0, sync1, echo;
  } cases[] = {{0x00, 0xAA, 2}, {0xA4, 0x00, 10}};
  for (const Case& c : cases) {
    Scope s;
    // A sensor that answers the hardware request with a virtual pixel count of 3072.
    s.useResponder([c](const std::vector<std::uint8_t>& request) {
      std::vector<std::uint8_t> answer(36, 0);
      answer[1] = 0xAA;
      answer[3] = request[3];
      if (request[3] == 10) {
        answer[0] = c.sync0;
        answer[1] = c.sync1;
        answer[3] = c.echo;
        answer[5] = 1;  // CCD type 1
        answer[12] = 0x0C;
        answer[13] = 0x00;
      }
      if (request[3] == 7) {
        answer.assign(72, 'x');
      }
      return answer;
    });
    ASSERT_EQ(s.start(), 0);
    EXPECT_EQ(s.p.st.ccdvirtpixel, 4096) << int(c.echo);
    EXPECT_EQ(s.p.st.ccdtype, 0) << int(c.echo);
    EXPECT_EQ(s.p.st.softversion, 0) << int(c.echo);
    // The firmware text arrived and ends the sequence; the hardware failure was reported before.
    EXPECT_EQ(s.status(), std::string(36, 'x'));
  }
}

}  // namespace
}  // namespace qrix::testing
