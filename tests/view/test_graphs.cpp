// Graphs and strip charts: model plots become QCustomPlot plottables and items, deletes remove
// them, axes and cursors follow the model; only a plot whose content changed is replotted, new
// content repaints the data area alone unless the axes changed under it (a strip chart only the
// rows of its lines), and a strip chart fed a sample at a time shows what the whole history
// would. That many changes cost
// one redraw is pinned on the scope's strip chart (test_scope_window.cpp).

#include <qcustomplot.h>

#include <QPaintEvent>
#include <cmath>
#include <utility>
#include <vector>

#include "runtime/qt/plot_widget.h"
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
    for (int i = 0; i < graph()->itemCount(); ++i) {
      n += qobject_cast<QCPItemRect*>(graph()->item(i)) != nullptr;
    }
    return n;
  }
};

TEST_F(Graphs, PlotsBecomePlottablesAndItemsAndDeletingAllLeavesOnlyTheCursors) {
  plotLine({0, 1, 2}, {5, 6, 7});
  plotLine({0, 1, 2}, {1, 2, 3}, ui::kLineStyleDash);
  ui().PlotRectangle(main, id("GRAPHprofile"), 1, 1, 2, 2, ui::kBlue, ui::kGreen);
  runtime.view().flushPending();
  ASSERT_EQ(graph()->plottableCount(), 2);
  EXPECT_EQ(rectangles(), 1);
  EXPECT_EQ(graph()->graph(1)->pen().style(), Qt::DashLine);
  EXPECT_EQ(graph()->graph(0)->data()->size(), 3);
  const int cursorItems = graph()->itemCount() - 1;
  ui().DeleteGraphPlot(main, id("GRAPHprofile"), -1);
  runtime.view().flushPending();
  EXPECT_EQ(graph()->plottableCount(), 0);
  EXPECT_EQ(graph()->itemCount(), cursorItems);
}

// Programs delete and draw their plots again for every new value. Plots of the kinds drawn
// before are changed in place, and must show what a graph drawn afresh shows.
TEST_F(Graphs, PlotsDrawnAgainShowWhatAFreshGraphShows) {
  const int g = id("GRAPHprofile");
  const int fresh = ui().LoadPanel(0, 1);
  ui().DisplayPanel(fresh);
  const auto draw = [&](int panel, double at, ui::Rgb fill, int lineStyle, bool outline) {
    ui().DeleteGraphPlot(panel, g, -1);
    ui().PlotRectangle(panel, g, at, 1, at + 2, 6, ui::kBlue, fill);
    ui().PlotXY(panel, g, {0, at, 9}, {2, 8, 3}, ui::kRed, 5, 0, lineStyle);
    if (outline) {
      ui().PlotXY(panel, g, {at, at + 3, at + 3, at}, {1, 1, 4, 4}, ui::kGreen, 5, 0, 0);
    } else {
      ui().PlotRectangle(panel, g, at + 1, 7, at + 4, 9, ui::kGreen, ui::kWhite);
    }
  };
  draw(main, 1, ui::kRed, 0, true);
  runtime.view().flushPending();
  for (const bool outline : {true, false}) {  // the same kinds, then a rectangle for the curve
    draw(main, 4, ui::Rgb{0xFFD700}, ui::kLineStyleDash, outline);
    draw(fresh, 4, ui::Rgb{0xFFD700}, ui::kLineStyleDash, outline);
    runtime.view().flushPending();
    QCustomPlot* freshGraph = runtime.view().plotWidget(fresh, g);
    EXPECT_EQ(graph()->plottableCount(), freshGraph->plottableCount());
    EXPECT_EQ(graph()->grab().toImage(), freshGraph->grab().toImage()) << outline;
  }
}

TEST_F(Graphs, OutlineTurningBackKeepsItsPointOrder) {
  plotLine({0, 2, 2, 0}, {0, 0, 1, 1});
  runtime.view().flushPending();
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
  runtime.view().flushPending();
  EXPECT_EQ(graph()->xAxis->range(), QCPRange(0, 2048));
  EXPECT_EQ(graph()->yAxis->range(), QCPRange(-5, 5));
  EXPECT_FALSE(graph()->yAxis2->visible());
  ui().SetAxisRange(main, g, ui::Axis::YRight, 0, 1);
  runtime.view().flushPending();
  EXPECT_TRUE(graph()->yAxis2->visible());
  EXPECT_EQ(graph()->yAxis2->range(), QCPRange(0, 1));
}

TEST_F(Graphs, CursorsAreVerticalLinesWithAMarkerOnlyForTheMarkerStyle) {
  const int g = id("GRAPHprofile");
  ui().SetGraphCursor(main, g, 1, 300, 40);
  ui().SetGraphCursor(main, g, 2, 700, 60);
  ui().SetCursorPointStyle(main, g, 2, ui::kPointStyleNoMarker);
  runtime.view().flushPending();
  std::vector<double> lines, markers;
  for (int i = 0; i < graph()->itemCount(); ++i) {
    QCPAbstractItem* item = graph()->item(i);
    if (!item->visible()) {
      continue;
    }
    if (auto* line = qobject_cast<QCPItemStraightLine*>(item)) {
      EXPECT_EQ(line->point1->key(), line->point2->key());
      lines.push_back(line->point1->key());
    }
    if (auto* marker = qobject_cast<QCPItemTracer*>(item)) {
      markers.push_back(marker->position->key());
    }
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
  runtime.view().flushPending();
  ASSERT_EQ(strip()->graphCount(), 2);
  EXPECT_FALSE(strip()->graph(1)->visible());
  // The last three samples of trace 1, oldest first.
  auto data = strip()->graph(0)->data();
  ASSERT_EQ(data->size(), 3);
  EXPECT_EQ(data->at(0)->value, 2);
  EXPECT_EQ(data->at(2)->value, 4);
  EXPECT_EQ(strip()->xAxis->range(), QCPRange(0, 2));
}

// Every RUN answer deletes the bar graphs' plots and adds them back, mostly the same, and sets
// ranges and colours again: only what looks different may cost a replot.
TEST_F(Graphs, OnlyAPlotWhoseContentChangedIsReplotted) {
  const int g = id("GRAPHprofile");
  const int s = id("STRIPrate");
  auto drawProfile = [&] {
    ui().DeleteGraphPlot(main, g, -1);
    plotLine({0, 1, 2}, {5, 6, 7});
    ui().PlotRectangle(main, g, 1, 1, 2, 2, ui::kBlue, ui::kGreen);
    ui().SetGraphCursor(main, g, 1, 1, 5);
    ui().SetAxisRange(main, g, ui::Axis::X, 0, 10);
  };
  const double sample[] = {3, 30};
  auto addSample = [&] {
    ui().SetStripPointsPerScreen(main, s, 2);
    ui().SetTraceColour(main, s, 1, ui::kRed);
    ui().PlotStripChartPoints(main, s, sample, 2);
  };
  drawProfile();
  addSample();
  runtime.view().flushPending();
  int graphReplots = 0, stripReplots = 0;
  QObject::connect(graph(), &QCustomPlot::afterReplot, [&] { ++graphReplots; });
  QObject::connect(strip(), &QCustomPlot::afterReplot, [&] { ++stripReplots; });

  drawProfile();
  addSample();  // the screen of two points fills up with the same sample
  runtime.view().flushPending();
  EXPECT_EQ(graphReplots, 0);
  EXPECT_EQ(stripReplots, 1);

  drawProfile();
  addSample();  // scrolls, but shows the same
  runtime.view().flushPending();
  EXPECT_EQ(graphReplots, 0);
  EXPECT_EQ(stripReplots, 1);

  drawProfile();
  ui().SetGraphCursor(main, g, 1, 2, 5);
  runtime.view().flushPending();
  EXPECT_EQ(graphReplots, 1);
  EXPECT_EQ(stripReplots, 1);
  EXPECT_EQ(graph()->plottableCount(), 1);
}

// The raw chart of RUN gets one sample per answer and appends it to the plot; what it shows
// must be what a chart handed the whole history at once shows, grid included.
// Where a widget was repainted, one rectangle per repaint.
class PaintedRects : public QObject {
 public:
  explicit PaintedRects(QWidget* w) { w->installEventFilter(this); }
  std::vector<QRect> rects;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      rects.push_back(static_cast<QPaintEvent*>(event)->region().boundingRect());
    }
    return false;
  }
};

TEST_F(Graphs, NewContentRepaintsTheDataAreaAndAxesThatChangedTheWholePlot) {
  const int g = id("GRAPHprofile");
  ui().SetAxisRange(main, g, ui::Axis::YLeft, 0, 10);
  // Up to the top of the range, which QCustomPlot draws one row above the axis rect.
  ui().PlotRectangle(main, g, 2, 5, 8, 10, ui::kBlue, ui::kGreen);
  pumpFor(60);
  PaintedRects painted(graph());
  ui().DeleteGraphPlot(main, g, -1);
  plotLine({0, 5, 10}, {9, 2, 7});
  pumpFor(60);
  ASSERT_EQ(painted.rects.size(), 1u);
  const QRect area = dynamic_cast<qt::PlotWidget&>(*graph()).dataArea();
  EXPECT_TRUE(area.contains(painted.rects[0]));
  EXPECT_EQ(painted.rects[0].top(), area.top());
  EXPECT_TRUE(showsWhatItDraws(graph()));
  // A part uncovered across the axes (a closed tooltip) is drawn with them.
  graph()->repaint(QRect(0, 0, graph()->width() / 2, graph()->height()));
  EXPECT_TRUE(showsWhatItDraws(graph()));
  // Wider tick labels move the axis rect: the repaint of the data is followed by all of it.
  painted.rects.clear();
  ui().SetAxisRange(main, g, ui::Axis::YLeft, 0, 100000);
  pumpFor(60);
  ASSERT_FALSE(painted.rects.empty());
  EXPECT_EQ(painted.rects.back(), graph()->rect());
  EXPECT_TRUE(showsWhatItDraws(graph()));
}

// A strip chart repaints only the rows of the lines that changed, from where each was to where it
// is: a line that jumps or hides leaves nothing behind, and a level line scrolled on is left
// alone.
TEST_F(Graphs, StripChartRepaintsOnlyTheRowsOfLinesThatChanged) {
  const int s = id("STRIPrate");
  ui().SetStripPointsPerScreen(main, s, 10);
  ui().SetTraceColour(main, s, 1, ui::kRed);
  ui().SetTraceColour(main, s, 2, ui::kBlue);
  ui().SetAxisRange(main, s, ui::Axis::YLeft, 0, 50);
  pumpFor(60);
  // No line changed, but the axis did.
  ui().SetAxisRange(main, s, ui::Axis::YLeft, 0, 100);
  pumpFor(60);
  EXPECT_TRUE(showsWhatItDraws(strip()));
  const auto feed = [&](double moving, int times) {
    const double sample[] = {moving, 20};
    for (int i = 0; i < times; ++i) {
      ui().PlotStripChartPoints(main, s, sample, 2);
    }
    pumpFor(60);
  };
  feed(50, 5);
  feed(50, 5);  // both lines grow to the full width
  PaintedRects painted(strip());
  feed(52, 1);
  const QRect area = dynamic_cast<qt::PlotWidget&>(*strip()).dataArea();
  ASSERT_EQ(painted.rects.size(), 1u);
  EXPECT_EQ(painted.rects[0].width(), area.width());
  EXPECT_LT(painted.rects[0].bottom(), strip()->yAxis->coordToPixel(20) - 1);
  EXPECT_TRUE(showsWhatItDraws(strip()));
  // What a grab draws counts as painted: the line jumps twice, each time out of the rows it was
  // in, before the window is looked at.
  feed(90, 10);
  feed(10, 10);
  EXPECT_TRUE(showsWhatItDraws(strip())) << "a line that jumped";
  ui().SetTraceColour(main, s, 2, ui::kGreen);
  pumpFor(60);
  EXPECT_TRUE(showsWhatItDraws(strip())) << "a level line in a new colour";
  ui().SetTraceVisible(main, s, 1, false);
  pumpFor(60);
  EXPECT_TRUE(showsWhatItDraws(strip())) << "a line hidden";
}

// A graph of rectangles and cursors, as the bar graphs of RUN are, repaints only around what
// changed: an edge of a rectangle, a cursor moved on. Nothing that changed is left behind.
TEST_F(Graphs, GraphRepaintsOnlyAroundWhatChanged) {
  const int g = id("GRAPHprofile");
  ui().SetAxisRange(main, g, ui::Axis::X, 0, 100);
  ui().SetAxisRange(main, g, ui::Axis::YLeft, 0, 1);
  const auto bar = [&](double left, double right, ui::Rgb colour) {
    ui().DeleteGraphPlot(main, g, -1);
    ui().PlotRectangle(main, g, left, 0.25, right, 1, colour, colour);
  };
  const auto drawn = [&] {
    pumpFor(60);
    return showsWhatItDraws(graph());
  };
  bar(40, 80, ui::kRed);
  ui().SetGraphCursor(main, g, 2, 40, 0.75);
  ui().SetCursorPointStyle(main, g, 2, ui::kPointStyleNoMarker);
  ASSERT_TRUE(drawn());
  PaintedRects painted(graph());
  bar(41, 80, ui::kRed);
  ui().SetGraphCursor(main, g, 2, 41, 0.75);
  pumpFor(60);
  const QRect area = dynamic_cast<qt::PlotWidget&>(*graph()).dataArea();
  ASSERT_EQ(painted.rects.size(), 1u);
  EXPECT_LT(painted.rects[0].width(), area.width() / 10);
  EXPECT_TRUE(showsWhatItDraws(graph()));
  bar(10, 95, ui::kRed);
  EXPECT_TRUE(drawn()) << "both edges moved";
  bar(10, 95, ui::kBlue);
  EXPECT_TRUE(drawn()) << "a new colour";
  ui().SetGraphCursor(main, g, 2, 90, 0.75);
  EXPECT_TRUE(drawn()) << "the cursor moved";
  QCPItemRect* rect = nullptr;
  for (int i = 0; i < graph()->itemCount() && !rect; ++i) {
    rect = qobject_cast<QCPItemRect*>(graph()->item(i));
  }
  ASSERT_NE(rect, nullptr);
  rect->setAntialiased(true);
  dynamic_cast<qt::PlotWidget&>(*graph()).refresh(false);
  bar(40, 80, ui::kBlue);
  EXPECT_TRUE(drawn()) << "antialiased";
  bar(41, 80, ui::kBlue);
  EXPECT_TRUE(drawn()) << "an edge of an antialiased one moved";
  rect->setAntialiased(false);
  ui().SetGraphCursor(main, g, 1, 60, 0.75);
  EXPECT_TRUE(drawn()) << "a cursor with a marker shown";
  ui().SetGraphCursor(main, g, 1, 60, 0.25);
  EXPECT_TRUE(drawn()) << "the marker moved";
  bar(20, 30, ui::kBlue);
  ui().PlotRectangle(main, g, 25, 0, 50, 0.5, ui::kGreen, ui::kGreen);
  EXPECT_TRUE(drawn()) << "a rectangle added";
  // The blue one drawn over the green one, no longer under it.
  for (int i = 0; i < graph()->itemCount(); ++i) {
    if (auto* rect = qobject_cast<QCPItemRect*>(graph()->item(i))) {
      rect->setLayer("overlay");
      break;
    }
  }
  dynamic_cast<qt::PlotWidget&>(*graph()).refresh(false);
  EXPECT_TRUE(drawn()) << "drawn in another order";
}

// RUN moves the bar graphs' rectangles where they stand: the view changes the one item told of
// and repaints around its old and new place alone, and shows what a whole repaint draws.
TEST_F(Graphs, RectanglesMovedInPlaceRepaintOnlyAroundTheMoveAndKeepTheirItems) {
  const int g = id("GRAPHprofile");
  ui().SetAxisRange(main, g, ui::Axis::X, 0, 100);
  ui().SetAxisRange(main, g, ui::Axis::YLeft, 0, 1);
  using Rects = std::vector<ui::UiModel::RectanglePlot>;
  Rects shapes = {{40, 0.25, 80, 1, ui::kRed, ui::kRed}, {30, 0, 60, 0.35, ui::kGreen, ui::kGreen}};
  ui().SetGraphRectangles(main, g, shapes);
  pumpFor(60);
  ASSERT_TRUE(showsWhatItDraws(graph()));
  std::vector<QCPAbstractItem*> items;
  for (int i = 0; i < graph()->itemCount(); ++i) {
    items.push_back(graph()->item(i));
  }

  PaintedRects painted(graph());
  shapes[1].x2 = 61;  // the window's right edge by one
  ui().SetGraphRectangles(main, g, shapes);
  pumpFor(60);
  const QRect area = dynamic_cast<qt::PlotWidget&>(*graph()).dataArea();
  ASSERT_EQ(painted.rects.size(), 1u);
  EXPECT_LT(painted.rects[0].width(), area.width() / 10);
  EXPECT_TRUE(showsWhatItDraws(graph()));
  std::vector<QCPAbstractItem*> after;
  for (int i = 0; i < graph()->itemCount(); ++i) {
    after.push_back(graph()->item(i));
  }
  EXPECT_EQ(after, items) << "moved, not made anew";

  shapes[0] = {10, 0.25, 20, 1, ui::kBlue, ui::kBlue};
  ui().SetGraphRectangles(main, g, shapes);
  pumpFor(60);
  EXPECT_TRUE(showsWhatItDraws(graph())) << "the zone moved away and changed colour";
  painted.rects.clear();
  ui().SetGraphRectangles(main, g, shapes);
  pumpFor(60);
  EXPECT_TRUE(painted.rects.empty()) << "the same rectangles again";
}

TEST_F(Graphs, StripChartFedASampleAtATimeLooksLikeOneGivenTheWholeHistory) {
  const int s = id("STRIPrate");
  const int whole = ui().LoadPanel(0, 1);
  ui().DisplayPanel(whole);
  QCustomPlot* wholeStrip = runtime.view().plotWidget(whole, s);
  ASSERT_NE(wholeStrip, nullptr);
  constexpr int kPoints = 101, kSamples = 157;
  std::vector<double> history;
  for (int p : {main, whole}) {
    ui().SetStripPointsPerScreen(p, s, kPoints);
    ui().SetTraceColour(p, s, 1, ui::kRed);
    ui().SetTraceColour(p, s, 2, ui::kBlue);
    ui().SetAxisRange(p, s, ui::Axis::YLeft, -100, 100);
  }
  for (int i = 0; i < kSamples; ++i) {
    const double sample[] = {80.0 * std::sin(i * 0.3), static_cast<double>(i % 37)};
    history.insert(history.end(), sample, sample + 2);
    ui().PlotStripChartPoints(main, s, sample, 2);
    runtime.view().flushPending();
  }
  ui().PlotStripChart(whole, s, history.data(), static_cast<int>(history.size()));
  runtime.view().flushPending();

  // Keys have moved on with the samples, so compare positions on the screen.
  ASSERT_EQ(strip()->graphCount(), 2);
  for (int t = 0; t < 2; ++t) {
    auto shown = [](QCustomPlot* plot, int trace) {
      std::vector<std::pair<double, double>> points;
      for (const QCPGraphData& d : *plot->graph(trace)->data()) {
        points.emplace_back(d.key - plot->xAxis->range().lower, d.value);
      }
      return points;
    };
    ASSERT_EQ(shown(strip(), t).size(), static_cast<size_t>(kPoints));
    EXPECT_EQ(shown(strip(), t), shown(wholeStrip, t)) << "trace " << t;
    EXPECT_EQ(strip()->graph(t)->data()->constBegin()->value,
              history[2 * (kSamples - kPoints) + t]);
  }
  EXPECT_EQ(strip()->xAxis->range().size(), wholeStrip->xAxis->range().size());
  EXPECT_EQ(strip()->grab().toImage(), wholeStrip->grab().toImage());
}

}  // namespace
}  // namespace qrix::test
