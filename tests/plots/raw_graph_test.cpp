// The raw strip chart: the rolling 100-sample history, the tolerance lines and analog value it
// stores, the two views, and the zoom range with its limits.

#include "plots/raw_graph.h"

#include "plots/display_fixture.h"

namespace qrix::testing {
namespace {

using namespace ids::main;

class RawGraph : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    st.parameter.sys.evalmode = 1;  // target = master teach value
    st.parameter.sys.hwmode = 0;    // tolerances from the record
    st.parameter.sys.anamode = 0;
    st.YAXISMAX = 4096;
    view(1, 0);
  }
  void view(double select, double zoom) {
    s.ui().SetCtrlVal(st.pHandle, RAWSelect, select);
    s.ui().SetCtrlVal(st.pHandle, TOGBTN_Zoom, zoom);
  }
  void target(std::uint16_t t, std::uint16_t up, std::uint16_t lo) {
    st.parameter.master.teach = t;
    st.parameter.sys.toleranceUP = up;
    st.parameter.sys.toleranceLO = lo;
  }
  // Trace t (1..7) of the newest sample.
  double newest(int t) { return st.arrayNORM[static_cast<size_t>(692 + t)]; }
  ui::AxisRange yAxis() { return strip().yLeft; }
};

TEST_F(RawGraph, FirstCallPlotsNinetyNineEmptySamplesThenTheAnswer) {
  target(1000, 50, 60);
  st.Mvalue = 1010;
  st.Aval = 400;
  st.Bval = 600;
  s.ui().SetStripPointsPerScreen(st.pHandle, GRAPHRaw, 50);  // set again on every call
  drawRaw();
  const auto& traces = strip().traces;
  ASSERT_EQ(traces.size(), 7u);
  const double newestSample[] = {1000, 1010, 1010, 1050, 940, 400, 600};
  for (size_t t = 0; t < 7; ++t) {
    ASSERT_EQ(traces[t].points.size(), 100u) << t;
    EXPECT_EQ(traces[t].points[98], 0) << t;
    EXPECT_EQ(traces[t].points[99], newestSample[t]) << t;
  }
  EXPECT_EQ(strip().pointsPerScreen, 101);
}

TEST_F(RawGraph, HistoryMovesOnBySampleAndKeepsTheScreenFull) {
  for (std::uint16_t m : {10, 20, 30}) {
    st.Mvalue = m;
    drawRaw();
  }
  EXPECT_EQ(st.arrayNORM[7 * 97 + 1], 10);
  EXPECT_EQ(st.arrayNORM[7 * 98 + 1], 20);
  EXPECT_EQ(newest(2), 30);
  EXPECT_EQ(strip().traces[1].points.size(), 101u);
  EXPECT_EQ(strip().traces[1].points.back(), 30);
  // Taken a sample at a time, the chart still ends with the whole history, oldest first.
  for (size_t t = 0; t < 7; ++t) {
    std::vector<double> history;
    for (size_t i = t; i < st.arrayNORM.size(); i += 7) {
      history.push_back(st.arrayNORM[i]);
    }
    const auto& points = strip().traces[t].points;
    EXPECT_EQ(std::vector<double>(points.end() - 100, points.end()), history) << t;
  }
}

TEST_F(RawGraph, ToleranceLinesStayInsideTheChart) {
  struct Case {
    std::uint16_t t, up, lo, yMax;
    double upper, lower;
  };
  for (Case c : {Case{2040, 30, 5, 2048, 2047, 2035}, Case{10, 5, 30, 2048, 15, 1},
                 Case{1000, 10, 20, 4096, 1010, 980}}) {
    target(c.t, c.up, c.lo);
    st.YAXISMAX = c.yMax;
    drawRaw();
    EXPECT_EQ(newest(4), c.upper) << c.t;
    EXPECT_EQ(newest(5), c.lower) << c.t;
  }
}

TEST_F(RawGraph, AnalogTraceFollowsTheAnalogOutputMode) {
  struct Case {
    std::uint16_t mode, anaMin;
    double shown;
  };
  st.Mvalue = 1500;
  st.anaMax = 1900;
  st.YAXISMAX = 2048;
  // A held minimum at full scale is drawn at 1.
  for (Case c : {Case{0, 300, 1500}, Case{1, 300, 1900}, Case{3, 300, 1900}, Case{2, 300, 300},
                 Case{4, 300, 300}, Case{2, 2047, 1}, Case{1, 2047, 1900}}) {
    st.parameter.sys.anamode = c.mode;
    st.anaMin = c.anaMin;
    drawRaw();
    EXPECT_EQ(newest(3), c.shown) << c.mode << " " << c.anaMin;
  }
}

TEST_F(RawGraph, ZoomNarrowsToTheTargetAndWidensToTakeInTheValue) {
  struct Case {
    std::uint16_t t, up, lo, value;
    double low, high;
  };
  const Case cases[] = {
      // A tolerance below 20: target +- 20, widened by 40.
      {1000, 50, 10, 1000, 980, 1020},
      {1000, 50, 10, 1100, 980, 1140},
      {1000, 10, 50, 900, 860, 1020},
      // Both 20 or more: twice the tolerances, widened by 100.
      {1000, 50, 30, 1000, 940, 1100},
      {1000, 50, 30, 1200, 940, 1300},
      {1000, 50, 30, 800, 700, 1100},
      // Kept inside 1 .. YAXISMAX - 1.
      {10, 50, 30, 10, 1, 110},
      {4090, 50, 30, 4090, 4030, 4095},
      // A target past full scale: low above the top; the range keeps one unit.
      {5000, 50, 30, 5000, 4940, 4941},
  };
  view(1, 1);
  for (const Case& c : cases) {
    target(c.t, c.up, c.lo);
    st.Mvalue = c.value;
    drawRaw();
    EXPECT_EQ(yAxis().min, c.low) << c.t << " " << c.value;
    EXPECT_EQ(yAxis().max, c.high) << c.t << " " << c.value;
  }
}

TEST_F(RawGraph, SelectorChoosesTracesAndRangeWhateverTheZoom) {
  struct Case {
    double select, zoom;
    bool edges;
    double low, high;
  };
  target(1000, 50, 30);
  st.Mvalue = 1000;
  st.ccdvirtpixel = 3000;
  // The selector is a 16-bit word: 65536 reads as 0.
  for (Case c : {Case{0, 1, true, 0, 3000}, Case{65536, 0, true, 0, 3000},
                 Case{1, 0, false, 0, 4096}, Case{1, 1, false, 940, 1100}}) {
    view(c.select, c.zoom);
    drawRaw();
    for (size_t t = 0; t < 7; ++t) {
      EXPECT_EQ(strip().traces[t].visible, c.edges == (t >= 5)) << c.select << " trace " << t;
    }
    EXPECT_EQ(yAxis().min, c.low) << c.select << " " << c.zoom;
    EXPECT_EQ(yAxis().max, c.high) << c.select << " " << c.zoom;
  }
  // Scales of 0 still give a range the chart can draw.
  st.YAXISMAX = 0;
  view(1, 0);
  drawRaw();
  EXPECT_LT(yAxis().min, yAxis().max);
}

}  // namespace
}  // namespace qrix::testing

namespace qrix::testing {
namespace {

// Counts the samples each change of the raw chart appended.
struct AppendedSamples : ui::UiObserver {
  std::vector<int> counts;
  void panelLoaded(int) override {}
  void panelDiscarded(int) override {}
  void changed(int, int, ui::Aspect) override {}
  void plotsChanged(int, int control, const ui::PlotChange& change) override {
    if (control == ids::main::GRAPHRaw && change.appendedSamples > 0) {
      counts.push_back(change.appendedSamples);
    }
  }
};

// Whether the history or only the newest sample goes to the chart is the program's own count of
// what it handed over, whatever the chart's model holds when it looks.
TEST_F(RawGraph, TheWholeHistoryGoesOnceThenOneSampleAnswerByAnswerWhateverTheModelHolds) {
  AppendedSamples seen;
  s.ui().setObserver(&seen);
  st.Mvalue = 10;
  drawRaw();
  st.Mvalue = 20;
  drawRaw();
  // Someone empties the chart's traces behind the program's back.
  for (ui::StripTrace& t : s.ui().panel(st.pHandle)->controls[GRAPHRaw].strip.traces) {
    t.points.clear();
  }
  st.Mvalue = 30;
  drawRaw();
  EXPECT_EQ(seen.counts, (std::vector<int>{100, 1, 1}));
  EXPECT_EQ(strip().traces[1].points, std::vector<double>{30});

  // The main panel made anew starts with an empty chart, which gets the whole history again.
  const int again = s.ui().LoadPanel(0, s.ui().panel(st.pHandle)->resourceId);
  ASSERT_GT(again, 0);
  st.pHandle = again;
  s.ui().SetCtrlVal(st.pHandle, RAWSelect, 1);
  st.Mvalue = 40;
  drawRaw();
  EXPECT_EQ(seen.counts, (std::vector<int>{100, 1, 1, 100}));
  ASSERT_EQ(strip().traces[1].points.size(), 100u);
  EXPECT_EQ(strip().traces[1].points[98], 30);
  EXPECT_EQ(strip().traces[1].points[99], 40);
  s.ui().setObserver(nullptr);
}

}  // namespace
}  // namespace qrix::testing
