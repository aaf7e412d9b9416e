// The retained ui model: panel loading and handles, callbacks by name with their events,
// dimmed controls, text-box lines, list items, graph plots and strip-chart history.

#include "runtime/ui_model.h"

#include <gtest/gtest.h>

namespace qrix::ui {
namespace {

std::optional<PanelTemplate> testPanels(int id) {
  if (id != 7 && id != 8) return std::nullopt;
  Panel p;
  p.name = id == 7 ? "pMain" : "pChild";
  p.callback = "CC_PANEL";
  Control button;
  button.id = 1;
  button.name = "BTNGo";
  button.kind = ControlKind::CommandButton;
  button.callback = "CC_BTNGo";
  p.controls[1] = button;
  Control box;
  box.id = 2;
  box.name = "TEXTInfo";
  box.kind = ControlKind::TextBox;
  p.controls[2] = box;
  Control graph;
  graph.id = 3;
  graph.name = "GRAPHOne";
  graph.kind = ControlKind::Graph;
  p.controls[3] = graph;
  Control strip;
  strip.id = 4;
  strip.name = "STRIP";
  strip.kind = ControlKind::StripChart;
  p.controls[4] = strip;
  Control ring;
  ring.id = 5;
  ring.name = "DROPmode";
  ring.kind = ControlKind::Ring;
  ring.items = {{"zero", 0}, {"one", 1}};
  p.controls[5] = ring;
  return p;
}

TEST(UiModel, HandlesCountFromOneInLoadOrderAndUnknownPanelsFail) {
  UiModel ui(testPanels);
  EXPECT_EQ(ui.LoadPanel(0, 7), 1);
  EXPECT_EQ(ui.LoadPanel(1, 8), 2);
  EXPECT_LT(ui.LoadPanel(0, 99), 0);
  EXPECT_LT(ui.LoadPanel(42, 8), 0);  // no such parent
  EXPECT_EQ(ui.panel(2)->parent, 1);
  ui.DiscardPanel(1);  // children go with their parent
  EXPECT_TRUE(ui.panelHandles().empty());
}

TEST(UiModel, EventsReachTheCallbackBoundToTheControlsName) {
  UiModel ui(testPanels);
  const int p = ui.LoadPanel(0, 7);
  std::vector<int> events;
  ui.callbacks().bind("CC_BTNGo", [&](int panel, int control, int event, int, int) {
    EXPECT_EQ(panel, p);
    EXPECT_EQ(control, 1);
    events.push_back(event);
    return 0;
  });
  ui.callbacks().bind("CC_PANEL", [&](int, int control, int event, int, int) {
    events.push_back(100 * control + event);
    return 0;
  });
  ui.dispatch(p, 1, EVENT_LEFT_CLICK);
  ui.dispatch(p, 1, EVENT_COMMIT);
  ui.dispatch(p, 0, EVENT_CLOSE);
  ui.SetDimmed(p, 1, true);
  ui.dispatch(p, 1, EVENT_COMMIT);  // a dimmed control takes no input
  EXPECT_EQ(events, (std::vector<int>{3, 1, 11}));
}

TEST(UiModel, TextBoxLinesAreReplacedAndAddedInPlace) {
  UiModel ui(testPanels);
  const int p = ui.LoadPanel(0, 7);
  ui.ReplaceTextBoxLine(p, 2, 2, "third");
  ui.ReplaceTextBoxLine(p, 2, 0, "first");
  EXPECT_EQ(ui.GetCtrlText(p, 2), "first\n\nthird");
  ui.ReplaceTextBoxLine(p, 2, 2, "3rd");
  EXPECT_EQ(ui.GetCtrlText(p, 2), "first\n\n3rd");
}

TEST(UiModel, ListItemsAreReplacedByIndexAndWrongKindsAreRefused) {
  UiModel ui(testPanels);
  const int p = ui.LoadPanel(0, 7);
  EXPECT_EQ(ui.ReplaceListItem(p, 5, 1, "ONE", 1), kOk);
  EXPECT_EQ(ui.control(p, 5)->items[1].label, "ONE");
  EXPECT_NE(ui.ReplaceListItem(p, 5, 2, "none", 2), kOk);
  EXPECT_NE(ui.ReplaceListItem(p, 2, 0, "box", 0), kOk);
  EXPECT_NE(ui.PlotRectangle(p, 1, 0, 0, 1, 1, kRed, kRed), kOk);
}

TEST(UiModel, GraphPlotsGetHandlesAndCanBeDeletedOneOrAll) {
  UiModel ui(testPanels);
  const int p = ui.LoadPanel(0, 7);
  const int a = ui.PlotXY(p, 3, {0, 1}, {2, 3}, kRed, 5, 10, 0);
  const int b = ui.PlotRectangle(p, 3, 0, 0, 10, 1, kGreen, kGreen);
  EXPECT_NE(a, b);
  ui.DeleteGraphPlot(p, 3, a);
  ASSERT_EQ(ui.control(p, 3)->graph.plots.size(), 1u);
  EXPECT_EQ(ui.control(p, 3)->graph.plots[0].handle, b);
  ui.DeleteGraphPlot(p, 3, -1);
  EXPECT_TRUE(ui.control(p, 3)->graph.plots.empty());
}

TEST(UiModel, StripChartKeepsTheLastScreenOfEachTrace) {
  UiModel ui(testPanels);
  const int p = ui.LoadPanel(0, 7);
  ui.SetStripTraces(p, 4, 2);
  ui.SetStripPointsPerScreen(p, 4, 3);
  const double data[] = {1, 10, 2, 20, 3, 30, 4, 40};
  ui.PlotStripChart(p, 4, data, 8);
  const auto& traces = ui.control(p, 4)->strip.traces;
  EXPECT_EQ(traces[0].points, (std::vector<double>{2, 3, 4}));
  EXPECT_EQ(traces[1].points, (std::vector<double>{20, 30, 40}));
}

}  // namespace
}  // namespace qrix::ui
