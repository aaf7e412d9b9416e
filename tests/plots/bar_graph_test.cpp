// The bar graphs of a RUN answer: value displays, the in-tolerance colour, the zone bars and
// edge cursors, the measured value across both lines in modes 3 and 4, the axis ranges, and
// each bar graph told in words.

#include "plots/bar_graph.h"

#include "plots/display_fixture.h"
#include "plots/raw_graph.h"

namespace qrix::testing {
namespace {

using namespace ids::main;
using Bars = std::vector<Span2>;

class BarGraph : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    st.parameter.sys.evalmode = 1;
    st.parameter.sys.hwmode = 0;
  }
  double val(int id) { return main(id).value; }
  const ui::GraphCursor& cursor(int graphId, int n) { return graph(graphId).cursors[n - 1]; }
};

TEST_F(BarGraph, ShowsEachValueInItsOwnDisplay) {
  st.Aval = 11;
  st.Bval = 22;
  st.Mvalue = 33;
  st.anaMax = 44;
  st.anaMin = 55;
  st.parameter.master.teach = 66;
  st.parameter.slave.teach = 77;
  st.umValue = -1500;
  drawBars();
  EXPECT_EQ(val(NUMAval), 11);
  EXPECT_EQ(val(NUMBval), 22);
  EXPECT_EQ(val(NUMMvalue), 33);
  EXPECT_EQ(val(NUMAnaMax), 44);
  EXPECT_EQ(val(NUMAnaMin), 55);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara1, ids::sensor::NUMTeach), 66);
  EXPECT_EQ(s.ui().GetCtrlVal(st.pPara2, ids::sensor::NUMTeach), 77);
  EXPECT_DOUBLE_EQ(val(NUMValueMM), -1.5);
}

TEST_F(BarGraph, TargetFollowsTheEvaluationMode) {
  struct Case {
    std::uint16_t mode, tVal;
  };
  st.parameter.master.teach = 40000;
  st.parameter.slave.teach = 30000;
  st.ccdvirtpixel = 2048;
  // The sum wraps at 16 bits; an unknown mode keeps the last target.
  for (Case c : {Case{0, 30000}, Case{1, 40000}, Case{2, 4464}, Case{3, 2048}, Case{4, 2048},
                 Case{9, 2048}}) {
    st.parameter.sys.evalmode = c.mode;
    drawBars();
    EXPECT_EQ(st.tVal, c.tVal) << c.mode;
  }
}

TEST_F(BarGraph, ModeTwoRaisesZeroToleranceFieldsInTheRecord) {
  st.parameter.sys.evalmode = 2;
  st.parameter.sys.toleranceUP = 0;
  st.parameter.sys.toleranceLO = 0;
  drawBars();
  EXPECT_EQ(st.parameter.sys.toleranceUP, 1);
  EXPECT_EQ(st.parameter.sys.toleranceLO, 1);
  EXPECT_EQ(st.tolup, 1);
}

TEST_F(BarGraph, ToleranceComesFromTheFieldsOrThePotentiometer) {
  struct Case {
    std::uint16_t hwmode, up, lo;
  };
  st.parameter.sys.toleranceUP = 100;
  st.parameter.sys.toleranceLO = 70;
  st.parameter.master.scale = 2048;
  st.parameter.slave.scale = 4096;  // the millimetre displays use the master's scale
  st.poti = 25;
  for (Case c : {Case{0, 100, 70}, Case{1, 25, 25}, Case{2, 100, 70}, Case{3, 25, 25}}) {
    st.parameter.sys.hwmode = c.hwmode;
    drawBars();
    EXPECT_EQ(st.tolup, c.up) << c.hwmode;
    EXPECT_EQ(st.tollo, c.lo) << c.hwmode;
    EXPECT_DOUBLE_EQ(val(NUMTolUpMM), 2048.0 * c.up / 1024000) << c.hwmode;
    EXPECT_DOUBLE_EQ(val(NUMTolLoMM), 2048.0 * c.lo / 1024000) << c.hwmode;
  }
}

TEST_F(BarGraph, ValueDisplaysTurnRedOutsideTheBandWhoseBoundsBelongToIt) {
  struct Case {
    std::uint16_t lo, value;
    ui::Rgb colour;
  };
  st.parameter.master.teach = 100;
  st.parameter.sys.toleranceUP = 20;
  // With a lower tolerance past the target the lower bound is -50: nothing lies below it.
  for (Case c : {Case{150, 0, ui::kDarkGreen}, Case{150, 120, ui::kDarkGreen},
                 Case{150, 121, ui::kRed}, Case{10, 90, ui::kDarkGreen}, Case{10, 89, ui::kRed}}) {
    st.parameter.sys.toleranceLO = c.lo;
    st.Mvalue = c.value;
    drawBars();
    EXPECT_EQ(main(NUMMvalue).backColour, c.colour) << c.lo << " " << c.value;
    EXPECT_EQ(main(NUMValueMM).backColour, c.colour) << c.lo << " " << c.value;
  }
}

TEST_F(BarGraph, ZoneBarFollowsTheEdgeCountOfEachSensor) {
  struct Case {
    std::uint16_t edges, pos, width;
    Bars bars;
  };
  const Case cases[] = {
      {0, 0, 0, {{1, 4096}}},
      {0, 700, 0, {}},
      {1, 1000, 300, {{1000, 4096}}},
      {2, 1000, 300, {{1000, 1300}}},
      {3, 65000, 1000, {{65000, 66000}}},  // no 16-bit wrap
  };
  for (const Case& c : cases) {
    // Master first with the slave showing no zone, then the other way round.
    st.edcntA = c.edges, st.Aval = c.pos, st.peakwA = c.width;
    st.edcntB = 0, st.Bval = 5, st.peakwB = 0;
    drawBars();
    EXPECT_EQ(rects(GRAPHBarMaster, ui::kRed), c.bars) << "master " << c.edges << " " << c.pos;
    EXPECT_TRUE(rects(GRAPHBarSlave, ui::kRed).empty());

    st.edcntB = c.edges, st.Bval = c.pos, st.peakwB = c.width;
    st.edcntA = 0, st.Aval = 5, st.peakwA = 0;
    drawBars();
    EXPECT_EQ(rects(GRAPHBarSlave, ui::kRed), c.bars) << "slave " << c.edges << " " << c.pos;
    EXPECT_TRUE(rects(GRAPHBarMaster, ui::kRed).empty());
  }
}

TEST_F(BarGraph, CursorsStayOnTheLineWhileTheBarKeepsTheReceivedPosition) {
  st.Aval = 0;
  st.Bval = 5000;
  st.edcntB = 1;
  drawBars();
  for (int n : {1, 2}) {
    EXPECT_EQ(cursor(GRAPHBarMaster, n).x, 1) << n;
    EXPECT_EQ(cursor(GRAPHBarSlave, n).x, 4096) << n;
    EXPECT_DOUBLE_EQ(cursor(GRAPHBarSlave, n).y, 0.75) << n;
  }
  EXPECT_EQ(rects(GRAPHBarSlave, ui::kRed), Bars({{5000, 4096}}));
  EXPECT_EQ(st.curposB, 4096);
}

TEST_F(BarGraph, ModesThreeAndFourMarkTheValueOnTheLineItLiesOnOthersLeaveTheEdge) {
  struct Case {
    std::uint16_t mode, value, kept;
    int masterStyle, slaveStyle;
    double masterX, slaveX;  // cursor 2
  };
  constexpr int kMark = ui::kPointStyleMarker, kNone = ui::kPointStyleNoMarker;
  st.Aval = st.Bval = 100;
  for (Case c :
       {Case{3, 5000, 5000, kMark, kNone, 904, 100}, Case{3, 9000, 8192, kMark, kNone, 4096, 100},
        Case{4, 8191, 8191, kMark, kNone, 4095, 100},
        // Other modes leave the second cursor on the edge and its marker as it was.
        Case{2, 6000, 6000, kMark, kNone, 100, 100}, Case{4, 3000, 3000, kNone, kMark, 100, 1096},
        Case{3, 4096, 4096, kNone, kNone, 100, 100}}) {
    st.parameter.sys.evalmode = c.mode;
    st.Mvalue = c.value;
    drawBars();
    EXPECT_EQ(st.MvalueHeld, c.kept) << c.value;
    EXPECT_EQ(cursor(GRAPHBarMaster, 2).pointStyle, c.masterStyle) << c.value;
    EXPECT_EQ(cursor(GRAPHBarSlave, 2).pointStyle, c.slaveStyle) << c.value;
    EXPECT_EQ(cursor(GRAPHBarMaster, 2).x, c.masterX) << c.value;
    EXPECT_EQ(cursor(GRAPHBarSlave, 2).x, c.slaveX) << c.value;
    EXPECT_EQ(cursor(GRAPHBarMaster, 1).x, 100) << c.value;
  }
}

TEST_F(BarGraph, TheLimitedValueIsWhatTheRawChartDrawsButNotWhatTheDisplayShows) {
  st.parameter.sys.evalmode = 3;
  st.Mvalue = 9000;
  drawBars();
  drawRaw();
  EXPECT_EQ(val(NUMMvalue), 9000);
  EXPECT_EQ(strip().traces[1].points.back(), 8192);
}

TEST_F(BarGraph, AxesSpanTheLineAndPlotsDoNotPileUp) {
  st.ccdvirtpixel = 2048;
  st.edcntA = st.edcntB = 1;
  s.ui().SetAxisRange(st.pHandle, GRAPHBarSlave, ui::Axis::YLeft, 0, 100);
  drawBars();
  const size_t plots = graph(GRAPHBarMaster).plots.size();
  drawBars();
  EXPECT_EQ(graph(GRAPHBarMaster).plots.size(), plots);
  for (int g : {GRAPHBarMaster, GRAPHBarSlave}) {
    EXPECT_DOUBLE_EQ(graph(g).x.max, 2048) << g;
    EXPECT_DOUBLE_EQ(graph(g).yLeft.min, 0) << g;
    EXPECT_DOUBLE_EQ(graph(g).yLeft.max, 1) << g;
  }
  // A virtual pixel count of 0 still gives a range the graph can draw.
  st.ccdvirtpixel = 0;
  drawBars();
  EXPECT_LT(graph(GRAPHBarSlave).x.min, graph(GRAPHBarSlave).x.max);
}

// Mode 1 draws a window on the master's bar only; the edge at its bound is still inside.
TEST_F(BarGraph, EachBarTellsItsEdgeAndWhetherItsWindowHoldsIt) {
  st.ccdvirtpixel = 4096;
  st.parameter.master.teach = 2000;
  st.parameter.sys.toleranceUP = 100;
  st.parameter.sys.toleranceLO = 100;
  st.Bval = 300;
  for (auto [edge, words] : {std::pair{2100, "inside"}, {2101, "outside"}, {1899, "outside"}}) {
    st.Aval = edge;
    drawBars();
    EXPECT_EQ(main(GRAPHBarMaster).description, "MASTER: " + std::to_string(edge) +
                                                    " virtual px, " + words +
                                                    " the tolerance window 1900 to 2100");
  }
  EXPECT_EQ(main(GRAPHBarSlave).description, "SLAVE: 300 virtual px, no tolerance window");
}

}  // namespace
}  // namespace qrix::testing
