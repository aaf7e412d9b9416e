// What the ui model tells its observer of a plot change, so that a view redraws only that: the
// old and new place of a moved rectangle or cursor, the count of appended strip samples, and
// nothing for a re-plot of the same; and the distinct reason a plot call is refused.

#include <gtest/gtest.h>

#include <vector>

#include "runtime/ui_model.h"

namespace qrix::ui {
namespace {

constexpr int kButton = 1, kGraph = 2, kStrip = 3;

std::optional<PanelTemplate> plotPanels(int) {
  PanelTemplate p;
  p.name = "pPlots";
  const std::pair<int, ControlKind> controls[] = {{kButton, ControlKind::CommandButton},
                                                  {kGraph, ControlKind::Graph},
                                                  {kStrip, ControlKind::StripChart}};
  for (const auto& [id, kind] : controls) {
    p.controls[id].id = id;
    p.controls[id].kind = kind;
  }
  return p;
}

struct Recorder : UiObserver {
  std::vector<PlotChange> plots;
  int otherChanges = 0;
  void panelLoaded(int) override {}
  void panelDiscarded(int) override {}
  void changed(int, int, Aspect) override { ++otherChanges; }
  void plotsChanged(int, int control, const PlotChange& change) override {
    EXPECT_NE(control, kButton);
    plots.push_back(change);
  }
};

using Moved = PlotChange::MovedMark;
using Rects = std::vector<UiModel::RectanglePlot>;

class PlotChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    ui.setObserver(&seen);
    panel = ui.LoadPanel(0, 1);
    seen.plots.clear();
  }
  UiModel ui{plotPanels};
  Recorder seen;
  int panel = 0;
};

TEST_F(PlotChanges, MovedRectanglesReportTheirOldAndNewAreaAndTheSameAgainReportsNothing) {
  const Rects first = {{10, 0.25, 40, 1.0, kRed, kRed}, {5, 0, 30, 0.35, kGreen, kGreen}};
  ASSERT_EQ(ui.SetGraphRectangles(panel, kGraph, first), 2);
  ASSERT_EQ(seen.plots.size(), 1u);
  EXPECT_TRUE(seen.plots[0].whole) << "new rectangles are no move";
  const std::vector<int> handles = {ui.control(panel, kGraph)->graph.plots[0].handle,
                                    ui.control(panel, kGraph)->graph.plots[1].handle};

  seen.plots.clear();
  EXPECT_EQ(ui.SetGraphRectangles(panel, kGraph, first), 2);
  EXPECT_TRUE(seen.plots.empty()) << "the same rectangles again";

  // Only the window moves; its corners given right to left come back ordered.
  Rects second = first;
  second[1] = {70, 0.35, 50, 0, kGreen, kGreen};
  ui.SetGraphRectangles(panel, kGraph, second);
  ASSERT_EQ(seen.plots.size(), 1u);
  const PlotChange& moved = seen.plots[0];
  EXPECT_FALSE(moved.whole);
  EXPECT_EQ(moved.appendedSamples, 0);
  ASSERT_EQ(moved.moved.size(), 1u);
  EXPECT_EQ(moved.moved[0],
            (Moved{Moved::Kind::Rectangle, 1, {5, 0, 30, 0.35}, {50, 0, 70, 0.35}}));
  const GraphState& g = ui.control(panel, kGraph)->graph;
  EXPECT_EQ(g.plots[0].handle, handles[0]);
  EXPECT_EQ(g.plots[1].handle, handles[1]) << "moved in place, not deleted and added";
  EXPECT_EQ(g.plots[1].x1, 70);

  // A new fill where it stands is a change in place too.
  seen.plots.clear();
  second[0].fillColour = kAmber;
  ui.SetGraphRectangles(panel, kGraph, second);
  ASSERT_EQ(seen.plots.size(), 1u);
  EXPECT_EQ(
      seen.plots[0].moved,
      (std::vector<Moved>{{Moved::Kind::Rectangle, 0, {10, 0.25, 40, 1.0}, {10, 0.25, 40, 1.0}}}));
  EXPECT_EQ(g.plots[0].fillColour, kAmber);

  // A rectangle fewer is not a move: the graph holds just the rest.
  seen.plots.clear();
  ui.SetGraphRectangles(panel, kGraph, {second[1]});
  ASSERT_EQ(seen.plots.size(), 1u);
  EXPECT_TRUE(seen.plots[0].whole);
  ASSERT_EQ(g.plots.size(), 1u);
  EXPECT_EQ(g.plots[0].colour, kGreen);

  // Another plot on the graph (a polyline) is replaced, never moved into.
  ui.PlotXY(panel, kGraph, {0, 1}, {2, 3}, kBlue, 0, 0, 0);
  seen.plots.clear();
  ui.SetGraphRectangles(panel, kGraph, first);
  ASSERT_EQ(seen.plots.size(), 1u);
  EXPECT_TRUE(seen.plots[0].whole);
  ASSERT_EQ(g.plots.size(), 2u);
  EXPECT_EQ(g.plots[0].kind, Plot::Kind::Rectangle);
}

TEST_F(PlotChanges, CursorsReportWhereTheyWereAndAreOnceShown) {
  ui.SetGraphCursor(panel, kGraph, 2, 100, 0.75);
  ASSERT_EQ(seen.plots.size(), 1u);
  EXPECT_TRUE(seen.plots[0].whole) << "a cursor shown for the first time";
  seen.plots.clear();
  ui.SetGraphCursor(panel, kGraph, 2, 120, 0.5);
  ui.SetGraphCursor(panel, kGraph, 2, 120, 0.5);
  ui.SetCursorPointStyle(panel, kGraph, 2, kPointStyleNoMarker);
  ASSERT_EQ(seen.plots.size(), 2u);
  EXPECT_EQ(
      seen.plots[0].moved,
      (std::vector<Moved>{{Moved::Kind::Cursor, 1, {100, 0.75, 100, 0.75}, {120, 0.5, 120, 0.5}}}));
  EXPECT_EQ(
      seen.plots[1].moved,
      (std::vector<Moved>{{Moved::Kind::Cursor, 1, {120, 0.5, 120, 0.5}, {120, 0.5, 120, 0.5}}}))
      << "the marker goes where the cursor stands";
  EXPECT_FALSE(seen.plots[1].whole);
}

TEST_F(PlotChanges, StripSamplesAreReportedWithTheirCount) {
  ui.SetStripTraces(panel, kStrip, 2);
  ui.SetStripPointsPerScreen(panel, kStrip, 3);
  seen.plots.clear();
  const double history[] = {1, 10, 2, 20, 3, 30};
  ui.PlotStripChart(panel, kStrip, history, 6);
  const double sample[] = {4, 40};
  ui.PlotStripChartPoints(panel, kStrip, sample, 2);
  ui.PlotStripChart(panel, kStrip, history, 1);  // less than one sample
  ASSERT_EQ(seen.plots.size(), 2u);
  EXPECT_EQ(seen.plots[0].appendedSamples, 3);
  EXPECT_EQ(seen.plots[1].appendedSamples, 1);
  for (const PlotChange& c : seen.plots) {
    EXPECT_FALSE(c.whole);
  }

  // A full screen of one value scrolled on by the same shows nothing new.
  const double flat[] = {5, 50};
  for (int i = 0; i < 3; ++i) {
    ui.PlotStripChartPoints(panel, kStrip, flat, 2);
  }
  seen.plots.clear();
  ui.PlotStripChartPoints(panel, kStrip, flat, 2);
  EXPECT_TRUE(seen.plots.empty());
  const double otherSlave[] = {5, 51};
  ui.PlotStripChartPoints(panel, kStrip, otherSlave, 2);
  EXPECT_EQ(seen.plots.size(), 1u) << "one trace's new value is a change";
  EXPECT_EQ(seen.otherChanges, 0);
}

TEST_F(PlotChanges, PlotCallsReturnWhyTheyWereRefused) {
  std::vector<int> reported;
  ui.setFailureHook([&](int, int, int code) { reported.push_back(code); });
  const std::vector<double> two = {1, 2}, three = {1, 2, 3};
  EXPECT_EQ(ui.PlotXY(panel + 7, kGraph, two, two, kRed, 0, 0, 0), kErrNoPanel);
  EXPECT_EQ(ui.PlotXY(panel, 99, two, two, kRed, 0, 0, 0), kErrNoControl);
  EXPECT_EQ(ui.PlotXY(panel, kStrip, two, two, kRed, 0, 0, 0), kErrWrongKind);
  EXPECT_EQ(ui.PlotXY(panel, kGraph, two, three, kRed, 0, 0, 0), kErrOutOfRange);
  EXPECT_GT(ui.PlotXY(panel, kGraph, two, two, kRed, 0, 0, 0), 0) << "a plot handle";
  EXPECT_EQ(ui.control(panel, kGraph)->graph.plots.size(), 1u);
  EXPECT_EQ(ui.SetGraphCursor(panel, kGraph, 3, 0, 0), kErrOutOfRange);
  EXPECT_EQ(ui.SetGraphCursor(panel, kButton, 1, 0, 0), kErrWrongKind);
  EXPECT_EQ(ui.SetTraceColour(panel, kStrip, 1, kRed), kErrOutOfRange) << "no traces yet";
  EXPECT_EQ(ui.SetGraphRectangles(panel + 7, kGraph, {}), kErrNoPanel);
  EXPECT_EQ(ui.SetAxisRange(panel, kButton, Axis::X, 0, 1), kErrWrongKind);
  EXPECT_EQ(reported,
            (std::vector<int>{kErrNoPanel, kErrNoControl, kErrWrongKind, kErrOutOfRange,
                              kErrOutOfRange, kErrWrongKind, kErrOutOfRange, kErrNoPanel}));
}

}  // namespace
}  // namespace qrix::ui
