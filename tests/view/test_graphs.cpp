// Graphs and strip charts: model plots become QCustomPlot plottables and items, deletes remove
// them, axes and cursors follow the model. That many changes cost one redraw is pinned on the
// scope's strip chart (test_scope_window.cpp).

#include <qcustomplot.h>

#include "synthetic_panels.h"

namespace qrix::test {
namespace {

class Graphs : public ViewTest {
 protected:
  QCustomPlot* graph() { return runtime.view().plotWidget(main, id("GRAPHprofile")); }
  QCustomPlot* strip() { return runtime.view().plotWidget(main, id("STRIPrate")); }
  void plotLine(std::vector<double> x, std::vector<double> y, int lineStyle = 0) {
    ui().PlotXY(main, id("GRAPHprofile"), x, y, ui::kRed, 5, 0, lineStyle);
  }
  int rectangles() {
    int n = 0;
    for (int i = 0; i < graph()->itemCount(); ++i)
      n += qobject_cast<QCPItemRect*>(graph()->item(i)) != nullptr;
    return n;
  }
};

TEST_F(Graphs, PlotsBecomePlottablesAndItemsAndDeletingAllLeavesOnlyTheCursors) {
  plotLine({0, 1, 2}, {5, 6, 7});
  plotLine({0, 1, 2}, {1, 2, 3}, ui::kLineStyleDash);
  ui().PlotRectangle(main, id("GRAPHprofile"), 1, 1, 2, 2, ui::kBlue, ui::kGreen);
  runtime.view().flushPlots();
  ASSERT_EQ(graph()->plottableCount(), 2);
  EXPECT_EQ(rectangles(), 1);
  EXPECT_EQ(graph()->graph(1)->pen().style(), Qt::DashLine);
  EXPECT_EQ(graph()->graph(0)->data()->size(), 3);
  const int cursorItems = graph()->itemCount() - 1;
  ui().DeleteGraphPlot(main, id("GRAPHprofile"), -1);
  runtime.view().flushPlots();
  EXPECT_EQ(graph()->plottableCount(), 0);
  EXPECT_EQ(graph()->itemCount(), cursorItems);
}

TEST_F(Graphs, OutlineTurningBackKeepsItsPointOrder) {
  plotLine({0, 2, 2, 0}, {0, 0, 1, 1});
  runtime.view().flushPlots();
  ASSERT_EQ(graph()->plottableCount(), 1);
  auto* curve = qobject_cast<QCPCurve*>(graph()->plottable(0));
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(curve->data()->at(3)->key, 0);
  EXPECT_EQ(curve->data()->at(3)->value, 1);
}

TEST_F(Graphs, AxesFollowTheModelAndTheRightAxisShowsOnlyOnceSet) {
  const int g = id("GRAPHprofile");
  ui().SetAxisRange(main, g, ui::Axis::X, 0, 2048);
  ui().SetAxisRange(main, g, ui::Axis::YLeft, -5, 5);
  runtime.view().flushPlots();
  EXPECT_EQ(graph()->xAxis->range(), QCPRange(0, 2048));
  EXPECT_EQ(graph()->yAxis->range(), QCPRange(-5, 5));
  EXPECT_FALSE(graph()->yAxis2->visible());
  ui().SetAxisRange(main, g, ui::Axis::YRight, 0, 1);
  runtime.view().flushPlots();
  EXPECT_TRUE(graph()->yAxis2->visible());
  EXPECT_EQ(graph()->yAxis2->range(), QCPRange(0, 1));
}

TEST_F(Graphs, CursorsAreVerticalLinesWithAMarkerOnlyForTheMarkerStyle) {
  const int g = id("GRAPHprofile");
  ui().SetGraphCursor(main, g, 1, 300, 40);
  ui().SetGraphCursor(main, g, 2, 700, 60);
  ui().SetCursorPointStyle(main, g, 2, ui::kPointStyleNoMarker);
  runtime.view().flushPlots();
  std::vector<double> lines, markers;
  for (int i = 0; i < graph()->itemCount(); ++i) {
    QCPAbstractItem* item = graph()->item(i);
    if (!item->visible()) continue;
    if (auto* line = qobject_cast<QCPItemStraightLine*>(item)) {
      EXPECT_EQ(line->point1->key(), line->point2->key());
      lines.push_back(line->point1->key());
    }
    if (auto* marker = qobject_cast<QCPItemTracer*>(item))
      markers.push_back(marker->position->key());
  }
  EXPECT_EQ(lines, (std::vector<double>{300, 700}));
  EXPECT_EQ(markers, std::vector<double>{300});
}

TEST_F(Graphs, StripChartDrawsTheLastScreenOfEachVisibleTrace) {
  const int s = id("STRIPrate");
  ui().SetStripPointsPerScreen(main, s, 3);
  const double samples[] = {1, 10, 2, 20, 3, 30, 4, 40};
  ui().PlotStripChart(main, s, samples, 8);
  ui().SetTraceVisible(main, s, 2, false);
  runtime.view().flushPlots();
  ASSERT_EQ(strip()->graphCount(), 2);
  EXPECT_FALSE(strip()->graph(1)->visible());
  // The last three samples of trace 1, oldest first.
  auto data = strip()->graph(0)->data();
  ASSERT_EQ(data->size(), 3);
  EXPECT_EQ(data->at(0)->value, 2);
  EXPECT_EQ(data->at(2)->value, 4);
  EXPECT_EQ(strip()->xAxis->range(), QCPRange(0, 2));
}

}  // namespace
}  // namespace qrix::test
