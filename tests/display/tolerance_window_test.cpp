// The tolerance windows along the bottom of the bar graphs: which graph gets a window in each
// evaluation mode, the edge limits, and the split of the tolerance in mode 2.

#include "display/tolerance_window.h"

#include "display/display_fixture.h"

namespace qrix::testing {
namespace {

using ids::main::GRAPHBarMaster;
using ids::main::GRAPHBarSlave;
using Windows = std::vector<Span2>;

class ToleranceWindow : public DisplayTest {
 protected:
  void draw(std::uint16_t mode, std::uint16_t posA = 0, std::uint16_t posB = 0) {
    clearBars();
    PlotTOLWindow(s.p, mode, posA, posB);
  }
  Windows master() { return rects(GRAPHBarMaster, ui::kGreen); }
  Windows slave() { return rects(GRAPHBarSlave, ui::kGreen); }
};

TEST_F(ToleranceWindow, ModeZeroDrawsOnTheSlaveGraphOnly) {
  st.parameter.slave.teach = 2000;
  st.parameter.master.teach = 1000;
  st.tollo = 100;
  st.tolup = 50;
  draw(0);
  ASSERT_EQ(slave(), Windows({{1900, 2050}}));
  EXPECT_TRUE(graph(GRAPHBarMaster).plots.empty());
  const ui::Plot& w = graph(GRAPHBarSlave).plots[0];
  EXPECT_EQ(w.fillColour, ui::kGreen);
  EXPECT_DOUBLE_EQ(w.y2, 0.35);
}

TEST_F(ToleranceWindow, ModeOneLimitsANegativeLeftEdgeAndARightEdgePastTheLine) {
  struct Case {
    std::uint16_t teach, lo, up;
    Span2 window;
  };
  for (Case c :
       {Case{30, 50, 0, {1, 30}}, Case{30, 30, 0, {0, 30}}, Case{4090, 0, 20, {4090, 4096}}}) {
    st.parameter.master.teach = c.teach;
    st.tollo = c.lo;
    st.tolup = c.up;
    draw(1);
    EXPECT_EQ(master(), Windows({c.window})) << c.teach << " " << c.lo << " " << c.up;
    EXPECT_TRUE(graph(GRAPHBarSlave).plots.empty());
  }
}

TEST_F(ToleranceWindow, ModeTwoShiftsEachWindowByHalfTheDeviationTruncatedTowardZero) {
  struct Case {
    std::uint16_t teachA, teachB, posA, posB;
    Span2 a, b;
  };
  st.edcntA = st.edcntB = 1;
  st.tollo = st.tolup = 40;
  // d = 20; then d = -3, whose half is -1, not -2.
  for (Case c : {Case{1000, 1200, 990, 1190, {980, 1020}, {1180, 1220}},
                 Case{1000, 1000, 1002, 1001, {981, 1021}, {980, 1020}}}) {
    st.parameter.master.teach = c.teachA;
    st.parameter.slave.teach = c.teachB;
    draw(2, c.posA, c.posB);
    EXPECT_EQ(master(), Windows({c.a})) << c.posA;
    EXPECT_EQ(slave(), Windows({c.b})) << c.posB;
  }
}

TEST_F(ToleranceWindow, ModeTwoWithoutASlaveEdgeCentresOnTheTeachValues) {
  st.edcntA = 2;
  st.edcntB = 0;
  st.parameter.master.teach = 1000;
  st.parameter.slave.teach = 1200;
  st.tollo = 40;
  st.tolup = 60;
  draw(2, 500, 800);
  EXPECT_EQ(master(), Windows({{980, 1030}}));
  EXPECT_EQ(slave(), Windows({{1180, 1230}}));
}

TEST_F(ToleranceWindow, ModesThreeAndFourRunFromTheLineStart) {
  st.tolup = 25;
  st.tollo = 40;
  for (std::uint16_t mode : {3, 4}) {
    draw(mode, 3000, 3000);
    EXPECT_EQ(master(), Windows({{1, 25}})) << mode;
    EXPECT_EQ(slave(), Windows({{1, 40}})) << mode;
  }
  draw(5);
  EXPECT_TRUE(master().empty() && slave().empty());
}

TEST_F(ToleranceWindow, BeforeTheFirstRunAnswerTheWindowHasNoWidth) {
  EXPECT_EQ(st.tolup, 0);
  EXPECT_EQ(st.tollo, 0);
  st.parameter.slave.teach = 700;
  draw(0);
  EXPECT_EQ(slave(), Windows({{700, 700}}));
}

}  // namespace
}  // namespace qrix::testing
