// The retained ui model where it holds logic of its own: callbacks by name and dimmed controls,
// children discarded with their parent, text-box lines, operations refused on the wrong kind,
// tooltips and LED colours with a code of its own for each miss, graph plots deleted one or
// all, the strip chart's history, whole or a sample at a time, and the observer told only of
// real changes.

#include "runtime/ui_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>

namespace qrix::ui {
namespace {

std::optional<PanelTemplate> testPanels(int id) {
  if (id != 7 && id != 8) {
    return std::nullopt;
  }
  Panel p;
  p.callback = "CC_PANEL";
  const std::pair<const char*, ControlKind> controls[] = {
      {"BTNGo", ControlKind::CommandButton}, {"TEXTInfo", ControlKind::TextBox},
      {"GRAPHOne", ControlKind::Graph},      {"STRIP", ControlKind::StripChart},
      {"DROPmode", ControlKind::Ring},       {"LEDlink", ControlKind::Led},
      {"PICTlogo", ControlKind::Picture}};
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
  EXPECT_EQ(ui.ReplaceListItem(p, 5, 2, "none", 2), kErrOutOfRange);  // past the list
  EXPECT_EQ(ui.ReplaceTextBoxLine(p, 2, -1, "before"), kErrOutOfRange);
  EXPECT_EQ(ui.ReplaceListItem(p, 2, 0, "box", 0), kErrWrongKind);
  EXPECT_EQ(ui.PlotRectangle(p, 1, 0, 0, 1, 1, kRed, kRed), kErrWrongKind);
  EXPECT_EQ(ui.SetCtrlVal(p, 99, 1), kErrNoControl);
  EXPECT_EQ(ui.SetCtrlVal(p + 40, 1, 1), kErrNoPanel);
  EXPECT_EQ(ui.SetListItems(p + 40, 5, {}), kErrNoPanel);
  EXPECT_EQ(ui.DisplayImageFile(p, 99, "x.bmp"), kErrNoControl);
  EXPECT_EQ(ui.SetTextBoxMarks(p, 1, {0}), kErrWrongKind);
  ui.GetCtrlVal(p, 99);
  EXPECT_EQ(reported, (std::vector<int>{kErrOutOfRange, kErrOutOfRange, kErrWrongKind,
                                        kErrWrongKind, kErrNoControl, kErrNoPanel, kErrNoPanel,
                                        kErrNoControl, kErrWrongKind, kErrNoControl}));
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
    if (c.expected != kOk) {
      failures.push_back(c.expected);
    }
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

// RUN sets the indicators' values and colours and the graphs' settings on every answer; a view
// must hear only of what changed, or it re-styles unchanged widgets 27 times a second.
TEST(UiModel, SettingWhatIsAlreadyThereTellsTheObserverNothing) {
  struct Counter : UiObserver {
    int changes = 0;
    void panelLoaded(int) override {}
    void panelDiscarded(int) override {}
    void changed(int, int, Aspect) override { ++changes; }
  } counter;
  UiModel ui(testPanels);
  ui.setObserver(&counter);
  const int p = ui.LoadPanel(0, 7);
  const std::function<int()> settings[] = {
      [&] { return ui.SetCtrlVal(p, 1, 5); },
      [&] { return ui.SetCtrlText(p, 2, "x"); },
      [&] { return ui.SetBackColour(p, 1, kRed); },
      [&] { return ui.SetTextColour(p, 1, kRed); },
      [&] { return ui.SetVisible(p, 1, false); },
      [&] { return ui.SetDimmed(p, 1, true); },
      [&] { return ui.SetCtrlPos(p, 1, 3, 4); },
      [&] { return ui.SetLabel(p, 1, "go"); },
      [&] { return ui.SetAxisRange(p, 3, Axis::YLeft, 0, 5); },
      [&] { return ui.SetGraphCursor(p, 3, 1, 2, 3); },
      [&] { return ui.SetCursorPointStyle(p, 3, 2, kPointStyleNoMarker); },
      [&] { return ui.SetStripTraces(p, 4, 3); },
      [&] { return ui.SetStripPointsPerScreen(p, 4, 7); },
      [&] { return ui.SetTraceColour(p, 4, 1, kBlue); },
      [&] { return ui.SetTraceVisible(p, 4, 2, false); },
      [&] { return ui.SetTooltip(p, 1, "press"); },
      [&] { return ui.SetDescription(p, 1, "starts"); },
      [&] { return ui.SetLedColour(p, 6, kGreen); },
      [&] {
        return ui.SetListItems(p, 5, {{"a", 1}, {"b", 2}});
      },
      [&] { return ui.ReplaceListItem(p, 5, 1, "B", 3); },
      [&] { return ui.ReplaceTextBoxLine(p, 2, 2, "third"); },
      [&] { return ui.ResetTextBox(p, 2, "new"); },
      [&] { return ui.SetTextBoxMarks(p, 2, {0}); },
      [&] { return ui.DisplayImageFile(p, 7, "logo.bmp"); },
  };
  for (size_t i = 0; i < std::size(settings); ++i) {
    counter.changes = 0;
    EXPECT_EQ(settings[i](), kOk) << i;
    EXPECT_EQ(settings[i](), kOk) << i;
    EXPECT_EQ(counter.changes, 1) << "setting " << i << " told twice";
  }
  counter.changes = 0;
  ui.DeleteGraphPlot(p, 3, -1);
  EXPECT_EQ(counter.changes, 0) << "an empty graph emptied";
}

// Each RUN answer appends its own sample; the history must come out as if the whole of it had
// been handed over at once.
TEST(UiModel, AppendedSamplesKeepTheSameLastScreenAsTheWholeHistoryAndFollowTheTraceCount) {
  UiModel ui(testPanels);
  const int appended = ui.LoadPanel(0, 7);
  const int whole = ui.LoadPanel(0, 7);
  for (int p : {appended, whole}) {
    ui.SetStripTraces(p, 4, 2);
    ui.SetStripPointsPerScreen(p, 4, 3);
  }
  const double data[] = {1, 10, 2, 20, 3, 30, 4, 40, 5, 50};
  for (int s = 0; s < 5; ++s) {
    EXPECT_EQ(ui.PlotStripChartPoints(appended, 4, data + 2 * s, 2), kOk);
  }
  ui.PlotStripChart(whole, 4, data, 10);
  const auto& traces = ui.control(appended, 4)->strip.traces;
  EXPECT_EQ(traces[0].points, (std::vector<double>{3, 4, 5}));
  EXPECT_EQ(traces, ui.control(whole, 4)->strip.traces);

  // A third trace starts empty; values for another number of traces change nothing.
  ui.SetStripTraces(appended, 4, 3);
  const double three[] = {6, 60, 600};
  EXPECT_EQ(ui.PlotStripChartPoints(appended, 4, three, 3), kOk);
  EXPECT_EQ(traces[1].points, (std::vector<double>{40, 50, 60}));
  EXPECT_EQ(traces[2].points, std::vector<double>{600});
  EXPECT_EQ(ui.PlotStripChartPoints(appended, 4, data, 2), kErrCountMismatch);
  ui.SetStripTraces(appended, 4, 2);
  EXPECT_EQ(ui.PlotStripChartPoints(appended, 4, three, 3), kErrCountMismatch);
  EXPECT_EQ(traces[0].points, (std::vector<double>{4, 5, 6}));
  EXPECT_EQ(ui.PlotStripChartPoints(appended, 4, three, 2), kOk);
  EXPECT_EQ(traces[1].points, (std::vector<double>{50, 60, 60}));
}

}  // namespace
}  // namespace qrix::ui
