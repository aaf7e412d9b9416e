// Start-up on the headless runtime: what it derives from the defaults, the panels it shows, a
// panel that fails to load, and the two close events.

#include <gtest/gtest.h>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

// The values start-up derives from the defaults (the panels' own values are checked against the
// record in the panel-table tests).
TEST(Startup, DerivedDefaultsAndTheVisiblePanels) {
  Scope s;
  ASSERT_EQ(s.startOffline(), 0);
  const ProgramState& st = s.p.st;
  ui::UiModel& ui = s.ui();
  EXPECT_EQ(st.thdArrayA[0], 128);  // 50 % of 256
  EXPECT_EQ(st.trgBUFB[127], 100);
  EXPECT_DOUBLE_EQ(st.xArrayMVAL[127], 254);
#ifdef _WIN32
  EXPECT_EQ(ui.GetCtrlText(st.pPopUp, ids::popup::TEXTRecFile), "C:\\qrix\\RECORD.DAT");
#else
  EXPECT_EQ(ui.GetCtrlText(st.pPopUp, ids::popup::TEXTRecFile), "/tmp/RECORD.DAT");
#endif
  // Interval 1 s and 100 samples.
  EXPECT_EQ(ui.GetCtrlVal(st.pPopUp, ids::popup::NUMRecMinutes), 1);
  EXPECT_EQ(ui.GetCtrlVal(st.pPopUp, ids::popup::NUMRecSeconds), 40);

  for (int panel : {st.pHandle, st.pPara0}) {
    EXPECT_TRUE(ui.panel(panel)->visible);
  }
  for (int panel : {st.pPara1, st.pPara2, st.pCalib, st.pPopUp, st.pLinkLog}) {
    EXPECT_FALSE(ui.panel(panel)->visible);
  }
  // The link log comes after the six, a window of its own.
  EXPECT_EQ(st.pLinkLog, 7);
  EXPECT_EQ(ui.panel(st.pLinkLog)->parent, 0);
  EXPECT_EQ(ui.activePanel(), st.pHandle);
  EXPECT_EQ(ui.panel(st.pHandle)->activeControl, ids::main::BTNStop);
}

TEST(Startup, FailedLoadOfTheFifthPanelEndsWithMinusOneAndKeepsTheFirstFour) {
  HeadlessRuntime rt([](int id) -> std::optional<ui::PanelTemplate> {
    if (id == ids::kCalibPanel) {
      return std::nullopt;
    }
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
