// Start-up on the headless runtime: the defaults the panels show, the mode-dependent visibility,
// a panel that fails to load, and the two close events.

#include <gtest/gtest.h>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

TEST(Startup, PanelsShowTheDefaultsWhenNoSensorAnswers) {
  sim::Faults silent;
  silent.silent = true;
  Scope s({}, silent);
  ASSERT_EQ(s.start(), 0);
  const ProgramState& st = s.p.st;
  ui::UiModel& ui = s.ui();
  EXPECT_EQ(s.status(), "Timeout-RS-232...");
  EXPECT_EQ(ui.GetCtrlVal(st.pPara0, ids::para0::DropEvalMode), 1);
  EXPECT_EQ(ui.GetCtrlVal(st.pPara0, ids::para0::NUMToleranceLO), 100);
  EXPECT_EQ(ui.GetCtrlVal(st.pPara1, ids::sensor::NUMTeach), 512);
  EXPECT_EQ(ui.GetCtrlVal(st.pCalib, ids::calib::NUMSetpoint), 16000);
  EXPECT_EQ(st.parameter.master.scale, 1024u);
  EXPECT_EQ(st.com, 1);
  EXPECT_EQ(st.target, 1);
  EXPECT_EQ(st.stop_flag, 1);
  EXPECT_EQ(st.ccdvirtpixel, 4096);
  EXPECT_EQ(st.ADCMAX, 256);
  EXPECT_EQ(st.YAXISMAX, 2048);
  EXPECT_EQ(st.szSoftVersion, "Version 3.04");
  EXPECT_EQ(st.thdArrayA[0], 128);  // 50 % of 256
  EXPECT_EQ(st.trgBUFB[127], 100);
  EXPECT_DOUBLE_EQ(st.xArrayMVAL[127], 254);
  EXPECT_EQ(st.rec_fname, "/tmp/RECORD.DAT");
  EXPECT_EQ(ui.GetCtrlText(st.pPopUp, ids::popup::TEXTRecFile), "/tmp/RECORD.DAT");
  // Interval 1 s and 100 samples.
  EXPECT_EQ(ui.GetCtrlVal(st.pPopUp, ids::popup::NUMRecMinutes), 1);
  EXPECT_EQ(ui.GetCtrlVal(st.pPopUp, ids::popup::NUMRecSeconds), 40);
}

TEST(Startup, MainPanelAndSystemPanelAreShownTheOthersHidden) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  const ProgramState& st = s.p.st;
  EXPECT_EQ(st.pHandle, 1);
  EXPECT_TRUE(s.ui().panel(st.pHandle)->visible);
  EXPECT_TRUE(s.ui().panel(st.pPara0)->visible);
  for (int panel : {st.pPara1, st.pPara2, st.pCalib, st.pPopUp})
    EXPECT_FALSE(s.ui().panel(panel)->visible);
  for (int panel : {st.pPara0, st.pPara1, st.pPara2, st.pCalib}) {
    EXPECT_EQ(s.ui().panel(panel)->parent, st.pHandle);
    EXPECT_EQ(s.ui().panel(panel)->bounds.left, 8);
    EXPECT_EQ(s.ui().panel(panel)->bounds.top, 98);
  }
  EXPECT_EQ(s.ui().activePanel(), st.pHandle);
  EXPECT_EQ(s.ui().panel(st.pHandle)->activeControl, ids::main::BTNStop);
  EXPECT_FALSE(s.ui().IsVisible(st.pHandle, ids::main::HelpText1));
  EXPECT_EQ(s.ui().GetCtrlText(st.pHandle, ids::main::HelpText2), "HELPTEXT2");
}

TEST(Startup, AnalogModeZeroHidesResetAndBothMaxMinDisplays) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  ASSERT_EQ(s.p.st.parameter.sys.anamode, 0);
  for (int id : {ids::main::ButtonReset, ids::main::NUMAnaMax, ids::main::NUMAnaMin})
    EXPECT_FALSE(s.ui().IsVisible(s.p.st.pHandle, id));
}

TEST(Startup, PowerSlidersAreDimmedInAutomaticPowerMode) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  EXPECT_TRUE(s.ui().IsDimmed(s.p.st.pPara1, ids::sensor::SLIDEpower));
  EXPECT_TRUE(s.ui().IsDimmed(s.p.st.pPara0, ids::para0::NUMToleranceUP));  // hardware mode 1
}

TEST(Startup, FailedLoadOfTheFifthPanelEndsWithMinusOneAndKeepsTheFirstFour) {
  HeadlessRuntime rt([](int id) -> std::optional<ui::PanelTemplate> {
    if (id == ids::kCalibPanel) return std::nullopt;
    return panelTemplate(id);
  });
  Program p(rt);
  EXPECT_EQ(StartUp(p, {}), -1);
  EXPECT_EQ(rt.ui().panelHandles().size(), 4u);
  EXPECT_LT(p.st.pCalib, 0);
}

TEST(Startup, ClosingTheRecorderStopsLoopsButKeepsTheProgramRunning) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;
  s.ui().SetCtrlVal(st.pHandle, ids::main::TOGGBTN_Recorder, 1);
  s.commit(st.pHandle, ids::main::TOGGBTN_Recorder);
  EXPECT_TRUE(s.ui().panel(st.pPopUp)->visible);
  st.stop_flag = 0;  // a loop is running
  s.ui().dispatch(st.pPopUp, 0, ui::EVENT_CLOSE);
  EXPECT_EQ(st.stop_flag, 1);
  EXPECT_FALSE(s.ui().panel(st.pPopUp)->visible);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pHandle, ids::main::TOGGBTN_Recorder), 0);
  EXPECT_FALSE(s.rt.quitRequested());
}

TEST(Startup, ClosingTheMainPanelInsideARunningLoopEndsTheLoopAndThenTheProgram) {
  Scope s;
  ASSERT_EQ(s.start(), 0);
  ProgramState& st = s.p.st;
  int passes = 0;
  // A loop like RUN: it pumps until stop_flag; the close arrives inside its pump.
  st.stop_flag = 0;
  s.rt.at(s.rt.Timer() + 0.05, [&] { s.ui().dispatch(st.pHandle, 0, ui::EVENT_CLOSE); });
  while (st.stop_flag == 0 && passes < 100000) {
    s.p.pump();
    ++passes;
  }
  EXPECT_EQ(st.stop_flag, 1);
  EXPECT_TRUE(s.rt.quitRequested());
  // The panels still exist until the event loop has returned.
  EXPECT_NE(s.ui().panel(st.pHandle), nullptr);
  EXPECT_FALSE(s.rt.serial().isOpen(st.com));
  ShutDown(s.p);
  EXPECT_TRUE(s.ui().panelHandles().empty());
}

}  // namespace
}  // namespace qrix::testing
