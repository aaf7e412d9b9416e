// Controls that act at once: the notebook toggles, the system panel's modes and tolerances, and
// the sensor panels' threshold, teach and power-mode controls with the curves they redraw.

#include <gtest/gtest.h>

#include "support/scope_fixture.h"

namespace qrix::testing {
namespace {

class Immediate : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(s.startOffline(), 0); }
  double val(int panel, int id) { return s.ui().GetCtrlVal(panel, id); }
  const ui::GraphState& graph(int id) { return s.ui().control(st.pHandle, id)->graph; }
  bool visible(int id) { return s.ui().IsVisible(st.pHandle, id); }
  Scope s;
  ProgramState& st = s.p.st;
};

TEST_F(Immediate, TogglesBehaveLikeNotebookTabs) {
  using namespace ids::main;
  s.click(st.pHandle, TOGGBTN_Para2);
  EXPECT_TRUE(s.ui().panel(st.pPara2)->visible);
  EXPECT_FALSE(s.ui().panel(st.pPara0)->visible);
  EXPECT_EQ(val(st.pHandle, TOGGBTN_Para0), 0);

  // Clicking the tab of the panel already shown turns its toggle off; the panel stays.
  s.ui().SetCtrlVal(st.pHandle, TOGGBTN_Para2, 0);  // the view flips the toggle on a click
  s.click(st.pHandle, TOGGBTN_Para2);
  EXPECT_TRUE(s.ui().panel(st.pPara2)->visible);
  for (int t : {TOGGBTN_Para0, TOGGBTN_Para1, TOGGBTN_Para2, TOGGBTN_Calib}) {
    EXPECT_EQ(val(st.pHandle, t), 0);
  }
  // A tab switched from the keyboard is pinned through the widgets (test_scope_window.cpp).
}

TEST_F(Immediate, HiddenPanelsKeepTheirValues) {
  s.ui().SetCtrlVal(st.pPara0, ids::para0::NUMToleranceUP, 77);
  s.click(st.pHandle, ids::main::TOGGBTN_Para1);
  s.click(st.pHandle, ids::main::TOGGBTN_Para0);
  EXPECT_EQ(val(st.pPara0, ids::para0::NUMToleranceUP), 77);
}

TEST_F(Immediate, ModeListsDimShowAndSetTheRawRangeAtOnce) {
  auto choose = [&](int id, double v) {
    s.ui().SetCtrlVal(st.pPara0, id, v);
    s.commit(st.pPara0, id);
  };
  s.ui().SetCtrlVal(st.pHandle, ids::main::RAWSelect, 0);
  choose(ids::para0::DropEvalMode, 3);
  EXPECT_TRUE(s.ui().IsDimmed(st.pPara1, ids::sensor::NUMTeach));
  EXPECT_TRUE(s.ui().IsDimmed(st.pPara2, ids::sensor::NUMTeach));
  EXPECT_EQ(st.YAXISMAX, 4096);  // the edge view's range, whatever the mode
  s.ui().SetCtrlVal(st.pHandle, ids::main::RAWSelect, 1);
  choose(ids::para0::DropEvalMode, 3);
  EXPECT_EQ(st.YAXISMAX, 8192);

  s.ui().SetCursorPointStyle(st.pHandle, ids::main::GRAPHBarMaster, 2, ui::kPointStyleMarker);
  choose(ids::para0::DropEvalMode, 0);
  EXPECT_EQ(graph(ids::main::GRAPHBarMaster).cursors[1].pointStyle, ui::kPointStyleNoMarker);
  EXPECT_FALSE(s.ui().IsDimmed(st.pPara2, ids::sensor::NUMTeach));
  EXPECT_EQ(st.YAXISMAX, 4096);

  for (bool on : {true, false}) {
    choose(ids::para0::DROPHardwareMode, on ? 3 : 2);
    choose(ids::para0::DROPAnaMode, on ? 0 : 1);
    EXPECT_EQ(s.ui().IsDimmed(st.pPara0, ids::para0::NUMToleranceLO), on);
    EXPECT_EQ(visible(ids::main::NUMAnaMax), !on);
  }
}

TEST_F(Immediate, ToleranceFieldsAreLimitedByTheMasterTeachValue) {
  // In hardware mode 1 the fields are dimmed and take no input.
  s.setValue(st.pPara0, ids::para0::NUMToleranceUP, 200);
  EXPECT_EQ(val(st.pPara0, ids::para0::NUMToleranceUP), 200);
  EXPECT_EQ(val(st.pHandle, ids::main::NUMTolUpMM), 0);
  s.ui().SetCtrlVal(st.pPara0, ids::para0::DROPHardwareMode, 0);
  s.commit(st.pPara0, ids::para0::DROPHardwareMode);

  st.parameter.master.teach = 4000;
  st.parameter.master.scale = 1024;
  s.setValue(st.pPara0, ids::para0::NUMToleranceUP, 200);
  EXPECT_EQ(val(st.pPara0, ids::para0::NUMToleranceUP), 95);
  EXPECT_DOUBLE_EQ(val(st.pHandle, ids::main::NUMTolUpMM), 0.095);
  EXPECT_EQ(st.parameter.sys.toleranceUP, 100);  // the record follows at the next read

  st.parameter.master.teach = 512;
  st.parameter.master.scale = 2048;
  s.setValue(st.pPara0, ids::para0::NUMToleranceLO, 50);
  EXPECT_EQ(val(st.pPara0, ids::para0::NUMToleranceLO), 50);
  EXPECT_DOUBLE_EQ(val(st.pHandle, ids::main::NUMTolLoMM), 0.1);

  // A teach value at or past the line end leaves no room: the tolerance becomes 0, not 65535.
  st.parameter.master.teach = 4096;
  s.setValue(st.pPara0, ids::para0::NUMToleranceLO, 10);
  EXPECT_EQ(val(st.pPara0, ids::para0::NUMToleranceLO), 0);
}

TEST_F(Immediate, VideoThresholdSliderRedrawsTheStoredCurve) {
  s.setValue(st.pPara1, ids::sensor::SLIDEVideoTHD, 75);
  EXPECT_EQ(st.thdArrayA[0], 192);
  const auto& plots = graph(ids::main::GRAPHVideoMaster).plots;
  ASSERT_EQ(plots.size(), 2u);  // the video, then the threshold line
  EXPECT_EQ(plots[1].y[0], 192);
  EXPECT_DOUBLE_EQ(graph(ids::main::GRAPHVideoMaster).yLeft.max, 256);
  EXPECT_TRUE(graph(ids::main::GRAPHVideoSlave).plots.empty() ||
              graph(ids::main::GRAPHVideoSlave).plots[1].y[0] != 192);
}

TEST_F(Immediate, PowerModeDimsOnlyItsOwnSlider) {
  s.ui().SetDimmed(st.pPara1, ids::sensor::SLIDEpower, false);
  s.ui().SetCtrlVal(st.pPara2, ids::sensor::DROPpmode, 1);
  s.commit(st.pPara2, ids::sensor::DROPpmode);
  EXPECT_TRUE(s.ui().IsDimmed(st.pPara2, ids::sensor::SLIDEpower));
  EXPECT_FALSE(s.ui().IsDimmed(st.pPara1, ids::sensor::SLIDEpower));
}

TEST_F(Immediate, TriggerThresholdRedrawsTheMasterDataCurveOnly) {
  st.mvalBUFA.fill(3000);
  s.setValue(st.pPara1, ids::sensor::NUMTriggThreshold, 700);
  EXPECT_EQ(st.trgBUFA[0], 700);
  EXPECT_FALSE(visible(ids::main::GRAPHRaw));
  EXPECT_TRUE(visible(ids::main::GRAPHDataMaster));
  const auto& g = graph(ids::main::GRAPHDataMaster);
  ASSERT_EQ(g.plots.size(), 5u);
  EXPECT_EQ(g.plots[0].y[0], 700);   // trigger line first
  EXPECT_EQ(g.plots[4].y[0], 3000);  // measured curve on top

  const bool slaveDataShown = visible(ids::main::GRAPHDataSlave);
  s.setValue(st.pPara2, ids::sensor::NUMTriggThreshold, 800);
  EXPECT_EQ(st.trgBUFB[0], 800);
  EXPECT_FALSE(visible(ids::main::GRAPHVideoSlave));
  EXPECT_EQ(visible(ids::main::GRAPHDataSlave), slaveDataShown);
  EXPECT_TRUE(graph(ids::main::GRAPHDataSlave).plots.empty());
}

TEST_F(Immediate, TeachFieldIsLimitedAndDrawsItsLines) {
  struct Case {
    double typed, kept;
  };
  for (Case c : {Case{0, 1}, Case{5000, 4095}, Case{4096, 4096}, Case{60, 60}}) {
    s.ui().SetCtrlVal(st.pPara1, ids::sensor::NUMTeach, c.typed);
    s.commit(st.pPara1, ids::sensor::NUMTeach);
    EXPECT_EQ(val(st.pPara1, ids::sensor::NUMTeach), c.kept);
  }
  // Teach 60 with tolerances 100/100.
  EXPECT_EQ(st.refTHDA[0], 60);
  EXPECT_EQ(st.loTHDA[0], 0);
  EXPECT_EQ(st.upTHDA[0], 160);
  EXPECT_EQ(st.parameter.master.teach, 512);  // the record is not changed
  EXPECT_TRUE(visible(ids::main::GRAPHDataSlave));

  s.ui().SetCtrlVal(st.pPara2, ids::sensor::NUMTeach, 4090);
  s.commit(st.pPara2, ids::sensor::NUMTeach);
  EXPECT_EQ(st.upTHDB[0], 4096);
  EXPECT_EQ(graph(ids::main::GRAPHDataSlave).plots.size(), 5u);
}

TEST_F(Immediate, CursorButtonMovesTheTeachCursor) {
  s.ui().SetCtrlVal(st.pPara2, ids::sensor::NUMTeach, 1500);
  s.click(st.pPara2, ids::sensor::NEDITeach);
  EXPECT_EQ(graph(ids::main::GRAPHBarSlave).cursors[1].x, 1500);
  EXPECT_EQ(graph(ids::main::GRAPHBarSlave).cursors[1].y, 1.0);
}

}  // namespace
}  // namespace qrix::testing
