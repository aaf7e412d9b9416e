// Record and panels: range limits with their replacement values, scale conversion, millimetre
// displays, mode-dependent dimming, and threshold lines that never wrap.

#include "params/panel_binding.h"

#include <gtest/gtest.h>

#include "params/param_file.h"
#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

class Binding : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.startOffline(), 0); }
  double val(int panel, int id) { return s.ui().GetCtrlVal(panel, id); }
  Scope s;
  ProgramState& st = s.p.st;
  ParameterRecord& r = s.p.st.parameter;
};

// The command line has no panels: the record it starts from, which the first requests carry,
// must be the one the window's panels give at start.
TEST_F(Binding, TheRecordsDefaultsAreWhatThePanelsHoldAtStart) {
  EXPECT_EQ(recordToWords(r), recordToWords(ParameterRecord{}));
}

// The limits that depend on the line length, and what they leave in the record and the modes.
TEST_F(Binding, LimitsReplaceOutOfRangeValuesByTheirOddReplacements) {
  r.master.power = 1200;
  r.slave.teach = 5000;
  r.master.teach = 4096;
  r.slave.pixEnd = 5000;
  r.slave.pixBegin = 5000;
  r.sys.evalmode = 7;
  r.sys.toleranceUP = 5000;
  SetPanelValues(s.p);
  EXPECT_EQ(val(st.pPara1, ids::sensor::SLIDEpower), 500);
  EXPECT_EQ(r.master.power, 500);  // kept in the record too
  EXPECT_EQ(r.slave.teach, 2048);
  EXPECT_EQ(r.master.teach, 4096);
  EXPECT_EQ(r.slave.pixEnd, 4096);
  EXPECT_EQ(r.slave.pixBegin, 1);
  EXPECT_EQ(r.sys.evalmode, 1);
  EXPECT_EQ(r.sys.toleranceUP, 4096);
  // Evaluation mode 7 shows as mode 1: master teach enabled, slave teach dimmed.
  EXPECT_FALSE(s.ui().IsDimmed(st.pPara1, ids::sensor::NUMTeach));
  EXPECT_TRUE(s.ui().IsDimmed(st.pPara2, ids::sensor::NUMTeach));
}

TEST_F(Binding, ScaleWordsConvertToMicrometresPerPixelAndBack) {
  r.master.scale = 1536;
  SetPanelValues(s.p);
  EXPECT_DOUBLE_EQ(val(st.pCalib, ids::calib::NUMScaleA), 1.5);
  s.ui().SetCtrlVal(st.pCalib, ids::calib::NUMScaleA, 1.5);
  s.ui().SetCtrlVal(st.pCalib, ids::calib::NUMScaleB, 0.0009);
  GetPanelValues(s.p);
  EXPECT_EQ(r.master.scale, 1536u);
  EXPECT_EQ(r.slave.scale, 0u);
  // Every scale word survives a write and read back.
  for (std::uint32_t word : {1u, 1023u, 1025u, 4095u, 65535u, 1048577u}) {
    r.master.scale = word;
    SetPanelValues(s.p);
    GetPanelValues(s.p);
    EXPECT_EQ(r.master.scale, word);
  }
  // A negative entry has no meaning: it stores 0.
  s.ui().SetCtrlVal(st.pCalib, ids::calib::NUMScaleA, -2.0);
  GetPanelValues(s.p);
  EXPECT_EQ(r.master.scale, 0u);
}

TEST_F(Binding, MillimetreDisplaysUseTheMasterScale) {
  r.sys.toleranceUP = 100;
  r.sys.toleranceLO = 50;
  r.master.scale = 1024;
  r.slave.scale = 4096;
  SetPanelValues(s.p);
  EXPECT_DOUBLE_EQ(val(st.pHandle, ids::main::NUMTolUpMM), 0.1);
  EXPECT_DOUBLE_EQ(val(st.pHandle, ids::main::NUMTolLoMM), 0.05);
}

TEST_F(Binding, ModesDimAndHideTheirFields) {
  struct Case {
    std::uint16_t mode;
    bool dimA, dimB;
    int yFactor;
  };
  for (Case c : {Case{0, true, false, 1}, Case{1, false, true, 1}, Case{2, false, false, 2},
                 Case{3, true, true, 2}, Case{4, false, false, 2}}) {
    r.sys.evalmode = c.mode;
    SetPanelValues(s.p);
    EXPECT_EQ(s.ui().IsDimmed(st.pPara1, ids::sensor::NUMTeach), c.dimA) << c.mode;
    EXPECT_EQ(s.ui().IsDimmed(st.pPara2, ids::sensor::NUMTeach), c.dimB) << c.mode;
    EXPECT_EQ(st.YAXISMAX, 4096 * c.yFactor) << c.mode;
    EXPECT_EQ(s.ui().control(st.pHandle, ids::main::GRAPHRaw)->strip.yLeft.max, st.YAXISMAX);
  }
  // Hardware modes 1 and 3 dim the tolerances, analog mode 0 hides the max/min controls, the
  // automatic power mode dims the power slider.
  for (bool on : {true, false}) {
    r.sys.hwmode = on ? 3 : 4;
    r.sys.anamode = on ? 0 : 2;
    r.master.pmode = on;
    SetPanelValues(s.p);
    EXPECT_EQ(s.ui().IsDimmed(st.pPara0, ids::para0::NUMToleranceUP), on);
    EXPECT_EQ(s.ui().IsDimmed(st.pPara0, ids::para0::NUMToleranceLO), on);
    EXPECT_EQ(s.ui().IsVisible(st.pHandle, ids::main::ButtonReset), !on);
    EXPECT_EQ(s.ui().IsVisible(st.pHandle, ids::main::NUMAnaMin), !on);
    EXPECT_EQ(s.ui().IsDimmed(st.pPara1, ids::sensor::SLIDEpower), on);
  }
}

TEST_F(Binding, ThresholdLinesNeverGoNegativeOrWrap) {
  r.master.teach = 60;
  r.sys.toleranceLO = 100;
  r.sys.toleranceUP = 100;
  r.slave.teach = 65000;  // as a record may hold it before the limits run
  SetThresholds(s.p);
  EXPECT_EQ(st.refTHDA[5], 60);
  EXPECT_EQ(st.loTHDA[5], 0);
  EXPECT_EQ(st.upTHDA[5], 160);
  EXPECT_EQ(st.loTHDB[0], 4096);
  EXPECT_EQ(st.upTHDB[0], 4096);
  r.master.videothd = 75;
  SetThresholds(s.p);
  EXPECT_EQ(st.thdArrayA[0], 192);
}

TEST_F(Binding, AveragingCountTheListLacksIsKeptThroughGetAndSend) {
  r.sys.average = 37;
  SetPanelValues(s.p);
  EXPECT_EQ(val(st.pPara0, ids::para0::DROPaverage), 37);
  GetPanelValues(s.p);
  EXPECT_EQ(r.sys.average, 37);
}

}  // namespace
}  // namespace qrix::testing
