// The retained ui model where it holds logic of its own: callbacks by name and dimmed controls,
// children discarded with their parent, text-box lines, operations refused on the wrong kind,
// tooltips and LED colours with a code of its own for each miss, graph plots deleted one or
// all, and the strip chart's history.

#include "runtime/ui_model.h"

#include <gtest/gtest.h>

namespace qrix::ui {
namespace {

std::optional<PanelTemplate> testPanels(int id) {
  if (id != 7 && id != 8) return std::nullopt;
  Panel p;
  p.callback = "CC_PANEL";
  const std::pair<const char*, ControlKind> controls[] = {
      {"BTNGo", ControlKind::CommandButton}, {"TEXTInfo", ControlKind::TextBox},
      {"GRAPHOne", ControlKind::Graph},      {"STRIP", ControlKind::StripChart},
      {"DROPmode", ControlKind::Ring},       {"LEDlink", ControlKind::Led}};
  int next = 1;
  for (const auto& [name, kind] : controls) {
    Control& c = p.controls[next];
    c.id = next++;
    c.name = name;
    c.kind = kind;
    c.callback = std::string("CC_") + name;
  }
  p.controls[5].items = {{"zero", 0}, {"one", 1}};
  return p;
}

TEST(UiModel, EventsReachTheCallbackOfTheControlsNameButNotWhenDimmed) {
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
  ui.dispatch(p, 1, EVENT_COMMIT);
  EXPECT_EQ(events, (std::vector<int>{3, 1, 11}));

  EXPECT_EQ(ui.LoadPanel(p, 8), 2);
  EXPECT_LT(ui.LoadPanel(42, 8), 0);  // no such parent
  ui.DiscardPanel(p);                 // children go with their parent
  EXPECT_TRUE(ui.panelHandles().empty());
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

TEST(UiModel, WrongKindsAndMissingControlsAreRefusedAndReported) {
  UiModel ui(testPanels);
  const int p = ui.LoadPanel(0, 7);
  std::vector<int> reported;
  ui.setFailureHook([&](int, int, int code) { reported.push_back(code); });
  EXPECT_EQ(ui.ReplaceListItem(p, 5, 1, "ONE", 1), kOk);
  EXPECT_EQ(ui.control(p, 5)->items[1].label, "ONE");
  EXPECT_NE(ui.ReplaceListItem(p, 5, 2, "none", 2), kOk);  // past the list
  EXPECT_NE(ui.ReplaceListItem(p, 2, 0, "box", 0), kOk);
  EXPECT_NE(ui.PlotRectangle(p, 1, 0, 0, 1, 1, kRed, kRed), kOk);
  EXPECT_EQ(ui.SetCtrlVal(p, 99, 1), kErrNoControl);
  ui.GetCtrlVal(p, 99);
  EXPECT_EQ(reported,
            (std::vector<int>{kErrWrongKind, kErrWrongKind, kErrNoControl, kErrNoControl}));
}

TEST(UiModel, TooltipsGoOnAnyControlLedColoursOnLedsAndEachMissHasItsOwnCode) {
  UiModel ui(testPanels);
  const int p = ui.LoadPanel(0, 7);
  std::vector<int> reported;
  ui.setFailureHook([&](int, int, int code) { reported.push_back(code); });
  struct Case {
    const char* what;
    int status;
    int expected;
  };
  const Case cases[] = {
      {"tooltip on a button", ui.SetTooltip(p, 1, "tip"), kOk},
      {"tooltip on an LED", ui.SetTooltip(p, 6, "lit"), kOk},
      {"colour of an LED", ui.SetLedColour(p, 6, kRed), kOk},
      {"colour of a button", ui.SetLedColour(p, 1, kRed), kErrWrongKind},
      {"colour of no control", ui.SetLedColour(p, 99, kRed), kErrNoControl},
      {"colour on no panel", ui.SetLedColour(42, 6, kRed), kErrNoPanel},
      {"tooltip of no control", ui.SetTooltip(p, 99, "x"), kErrNoControl},
      {"tooltip on no panel", ui.SetTooltip(42, 1, "x"), kErrNoPanel},
  };
  std::vector<int> failures;
  for (const Case& c : cases) {
    EXPECT_EQ(c.status, c.expected) << c.what;
    if (c.expected != kOk) failures.push_back(c.expected);
  }
  EXPECT_EQ(reported, failures);
  EXPECT_EQ(ui.control(p, 1)->tooltip, "tip");
  EXPECT_EQ(ui.control(p, 1)->ledColour, kGrey);
  EXPECT_EQ(ui.control(p, 6)->ledColour, kRed);
}

TEST(UiModel, GraphPlotsCanBeDeletedOneOrAll) {
  UiModel ui(testPanels);
  const int p = ui.LoadPanel(0, 7);
  const int a = ui.PlotXY(p, 3, {0, 1}, {2, 3}, kRed, 5, 10, 0);
  const int b = ui.PlotRectangle(p, 3, 0, 0, 10, 1, kGreen, kGreen);
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
