// The scope's own panels in real widgets, drawn off screen: all six render, a tab and a
// tolerance field work from the keyboard, toggles and radio buttons switched by a screen reader
// reach the program as a keyboard switch does, help opens above everything around the control
// right-clicked and closes on a click, the banner shows the shipped logo, the twin controls of
// the two sensor panels are told apart, the raw strip chart keeps its size and folds its
// redraws, a screenshot of the identified scope is written, and during RUN each graph on screen
// is what a whole repaint draws.

#include <gtest/gtest.h>
#include <qcustomplot.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "program/program.h"
#include "runtime/qt/plot_control_view.h"
#include "runtime/qt/qt_runtime.h"
#include "scope_window_fixture.h"
#include "shell/help_texts.h"
#include "synthetic_panels.h"

namespace qrix::test {
namespace {

class ScopeWindow : public ScopeWindowTest {
 protected:
  QWidget* widget(int panel, int control) { return runtime.view().controlWidget(panel, control); }
  void pump(int times = 5) {
    for (int i = 0; i < times; ++i) {
      runtime.ProcessSystemEvents();
    }
  }
  // A panel or control below a panel found as a test tool finds it: a panel by its accessible
  // name, a control by its model name in brackets at the end of its description.
  static QAccessibleInterface* find(QAccessibleInterface* under, const QString& name) {
    for (int i = 0; i < under->childCount(); ++i) {
      QAccessibleInterface* child = under->child(i);
      if (!child) {
        continue;
      }
      if (child->text(QAccessible::Name) == name ||
          child->text(QAccessible::Description).endsWith("[" + name + "]")) {
        return child;
      }
      if (QAccessibleInterface* deeper = find(child, name)) {
        return deeper;
      }
    }
    return nullptr;
  }
  QAbstractButton* button(int control) {
    return qobject_cast<QAbstractButton*>(widget(st.pHandle, control));
  }
  double mainValue(int control) { return runtime.ui().GetCtrlVal(st.pHandle, control); }
  // The raw strip chart, each of its replots counted in `replots`.
  QCustomPlot* rawChartCountingReplots(int& replots) {
    QCustomPlot* chart = runtime.view().plotWidget(st.pHandle, ids::main::GRAPHRaw);
    if (chart) {
      QObject::connect(chart, &QCustomPlot::afterReplot, [&replots] { ++replots; });
    }
    return chart;
  }
  // The centre of a control's widget in main-window coordinates.
  QPoint centreOf(int panel, int control) {
    QWidget* w = widget(panel, control);
    return w->mapTo(runtime.view().panelWidget(st.pHandle), w->rect().center());
  }
  // A click lands on the topmost widget at that spot, as a user's would.
  void clickAt(QPoint at, Qt::MouseButton button) {
    QWidget* window = runtime.view().panelWidget(st.pHandle);
    QWidget* hit = window->childAt(at);
    ASSERT_NE(hit, nullptr);
    QTest::mouseClick(hit, button, {}, hit->mapFrom(window, at));
  }
  bool shown(int panel) {
    return runtime.ui().panel(panel)->visible && runtime.view().panelWidget(panel)->isVisible();
  }
  // A screen reader's action on a control of the main panel.
  void act(int control, const QString& action) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button(control));
    ASSERT_TRUE(face && face->actionInterface());
    face->actionInterface()->doAction(action);
    pump();
  }
};

TEST_F(ScopeWindow, AllSixPanelsRenderAndTheMainWindowFitsA1280By800Screen) {
  for (int panel : {st.pPara0, st.pPara1, st.pPara2, st.pCalib, st.pPopUp}) {
    runtime.ui().DisplayPanel(panel);
    EXPECT_GE(runtime.view().grab(panel).width(), 300) << runtime.ui().panel(panel)->name;
  }
  // In logical pixels: a grab has the device pixel ratio's.
  const QSize main = runtime.view().grab(st.pHandle).deviceIndependentSize().toSize();
  EXPECT_GE(main.width(), 300);
  EXPECT_LE(main.width(), 1280);
  EXPECT_LE(main.height(), 800);
}

// Seen: a tab switched from the keyboard (Space) turned the other tabs off as a
// click does.
TEST_F(ScopeWindow, SpaceOnATabShowsItsPanelAndLeavesTheOtherTabsAlone) {
  QAbstractButton* tab = button(ids::main::TOGGBTN_Para2);
  tab->setFocus();
  QTest::keyClick(tab, Qt::Key_Space);
  pump();
  EXPECT_TRUE(shown(st.pPara2));
  EXPECT_FALSE(shown(st.pPara0));
  EXPECT_EQ(mainValue(ids::main::TOGGBTN_Para0), 1);
  EXPECT_TRUE(button(ids::main::TOGGBTN_Para0)->isChecked());
}

// Seen: a screen reader's toggle of RBTEeprom left RBTRam on and SEND still
// wrote to RAM.
TEST_F(ScopeWindow, ScreenReaderTogglesReachTheProgramAsTheKeyboardDoes) {
  act(ids::main::RBTEeprom, QAccessibleActionInterface::toggleAction());
  EXPECT_EQ(st.target, 2);
  EXPECT_EQ(mainValue(ids::main::RBTRam), 0);
  EXPECT_FALSE(button(ids::main::RBTRam)->isChecked());

  act(ids::main::TOGGBTN_Para1, QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(shown(st.pPara1));
  EXPECT_FALSE(shown(st.pPara0));
  EXPECT_EQ(mainValue(ids::main::TOGGBTN_Para0), 1);

  // Zoom starts off, the measurement view on: each switches, in the model as on
  // screen.
  act(ids::main::TOGBTN_Zoom, QAccessibleActionInterface::toggleAction());
  act(ids::main::RAWSelect, QAccessibleActionInterface::toggleAction());
  for (auto [control, value] : {std::pair{ids::main::TOGBTN_Zoom, 1},
                                {ids::main::RAWSelect, 0},
                                {ids::main::RBTEeprom, 1},
                                {ids::main::TOGGBTN_Para1, 1}}) {
    EXPECT_EQ(mainValue(control), value) << control;
    EXPECT_EQ(button(control)->isChecked(), value == 1) << control;
  }
}

TEST_F(ScopeWindow, DimmedToggleRefusesTheScreenReaderAndShowsTheModel) {
  runtime.ui().SetDimmed(st.pHandle, ids::main::TOGBTN_Zoom, true);
  act(ids::main::TOGBTN_Zoom, QAccessibleActionInterface::toggleAction());
  act(ids::main::TOGBTN_Zoom, QAccessibleActionInterface::pressAction());
  // What the toggle action does to a button Qt thinks enabled.
  button(ids::main::TOGBTN_Zoom)->toggle();
  QTest::qWait(150);  // a press would switch it once its animation ends
  EXPECT_EQ(mainValue(ids::main::TOGBTN_Zoom), 0);
  EXPECT_FALSE(button(ids::main::TOGBTN_Zoom)->isChecked());
}

TEST_F(ScopeWindow, TypedToleranceIsLimitedInTheWidget) {
  runtime.ui().SetCtrlVal(st.pPara0, ids::para0::DROPHardwareMode, 0);
  runtime.ui().dispatch(st.pPara0, ids::para0::DROPHardwareMode, ui::EVENT_COMMIT);
  st.parameter.master.teach = 4000;
  auto* field = qobject_cast<QAbstractSpinBox*>(widget(st.pPara0, ids::para0::NUMToleranceUP));
  ASSERT_NE(field, nullptr);
  field->selectAll();
  QTest::keyClicks(field, "200");
  QTest::keyClick(field, Qt::Key_Return);
  pump();
  EXPECT_EQ(runtime.ui().GetCtrlVal(st.pPara0, ids::para0::NUMToleranceUP), 95);
  // The field shows the unit after the number: "95 virtual px".
  EXPECT_EQ(field->text().section(' ', 0, 0).toInt(), 95);
}

TEST_F(ScopeWindow, RightClickOpensTheHelpAboveThePanelsAndAClickOnTheBoxClosesIt) {
  ui::UiModel& ui = runtime.ui();
  struct Case {
    const char* control;
    int ProgramState::*panel;
    int id;
  };
  const Case cases[] = {
      {"BTNRun", &ProgramState::pHandle, ids::main::BTNRun},
      {"GRAPHVideoMaster", &ProgramState::pHandle, ids::main::GRAPHVideoMaster},
      {"DropEvalMode", &ProgramState::pPara0, ids::para0::DropEvalMode},
      {"NUMTeachA", &ProgramState::pPara1, ids::sensor::NUMTeach},
      {"SLIDEVideoTHD_A", &ProgramState::pPara1, ids::sensor::SLIDEVideoTHD},
  };
  // The video graph in place of the raw chart, as VIDEO shows it.
  ui.SetVisible(st.pHandle, ids::main::GRAPHRaw, false);
  ui.SetVisible(st.pHandle, ids::main::GRAPHVideoMaster, true);
  bool closeWithLeft = true;
  for (const Case& c : cases) {
    const int panel = st.*c.panel;
    if (panel == st.pPara1) {
      ui.HidePanel(st.pPara0);
      ui.DisplayPanel(st.pPara1);
    }
    const HelpRow* row = nullptr;
    for (const HelpRow& r : helpTable()) {
      if (std::string_view(r.control) == c.control) {
        row = &r;
      }
    }
    ASSERT_NE(row, nullptr) << c.control;

    clickAt(centreOf(panel, c.id), Qt::RightButton);
    ASSERT_TRUE(ui.IsVisible(st.pHandle, row->box)) << c.control;
    EXPECT_EQ(ui.GetCtrlText(st.pHandle, row->box), row->text);
    // Nothing else, a parameter panel included, covers the middle of the box.
    QWidget* box = widget(st.pHandle, row->box);
    const QPoint boxCentre = centreOf(st.pHandle, row->box);
    QWidget* top = runtime.view().panelWidget(st.pHandle)->childAt(boxCentre);
    EXPECT_TRUE(top == box || box->isAncestorOf(top)) << c.control;

    clickAt(boxCentre, closeWithLeft ? Qt::LeftButton : Qt::RightButton);
    EXPECT_FALSE(ui.IsVisible(st.pHandle, row->box))
        << c.control << " closed by " << (closeWithLeft ? "left" : "right");
    closeWithLeft = !closeWithLeft;
  }
}

TEST_F(ScopeWindow, FreshStartShowsTheShippedLogoInTheBanner) {
  auto* logo = qobject_cast<QLabel*>(widget(st.pHandle, ids::main::PICTLogo));
  ASSERT_NE(logo, nullptr);
  EXPECT_FALSE(logo->pixmap().isNull());
  EXPECT_TRUE(logo->isVisible());
}

// Counts every paint in the application.
class PaintCounter : public QObject {
 public:
  PaintCounter() { qApp->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
};

// A strip chart fed faster than it may be replotted, with an indicator beside it changing as
// often: the window's repaints for the indicator take the chart's replot along only when it is
// due, so the chart is still replotted no more than once per interval.
TEST_F(ScopeWindow, RepaintsOfTheWindowKeepThePlotsReplotInterval) {
  ui::UiModel& ui = runtime.ui();
  const int raw = ids::main::GRAPHRaw;
  int replots = 0;
  QCustomPlot* chart = rawChartCountingReplots(replots);
  ASSERT_NE(chart, nullptr);
  ui.SetStripTraces(st.pHandle, raw, 1);
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; clock.elapsed() < 200; ++i) {
    const double sample = i;
    ui.PlotStripChart(st.pHandle, raw, &sample, 1);
    ui.SetCtrlVal(st.pHandle, ids::main::NUMMvalue, i);
    pump(1);
  }
  const qint64 ms = clock.elapsed();
  EXPECT_GT(replots, 0);
  EXPECT_LE(replots, ms / qt::PlotControlView::kMinReplotMs + 2) << ms << " ms";
}

// What each RUN answer does to the main panel: the raw strip chart's settings
// and 100 samples of 7 traces, the values and the colours of the indicators.
TEST_F(ScopeWindow, RunAnswersKeepTheStripChartsSizeAndAreDrawnOnlyByThePump) {
  ui::UiModel& ui = runtime.ui();
  const int raw = ids::main::GRAPHRaw;
  int replots = 0;
  QCustomPlot* chart = rawChartCountingReplots(replots);
  ASSERT_NE(chart, nullptr);
  PaintCounter counter;
  constexpr int kTraces = 7, kAnswers = 60;
  std::vector<double> history(kTraces * 100);
  int changes = 0;  // to the strip chart
  int replotsDuringChanges = 0, paintsDuringChanges = 0;
  for (int answer = 0; answer < kAnswers; ++answer) {
    const int replotsBefore = replots, paintsBefore = counter.paints;
    history.back() = answer;
    ui.SetStripPointsPerScreen(st.pHandle, raw, 101);
    ui.SetStripTraces(st.pHandle, raw, kTraces);
    for (int t = 1; t <= kTraces; ++t) {
      ui.SetTraceColour(st.pHandle, raw, t, ui::kRed);
    }
    ui.PlotStripChart(st.pHandle, raw, history.data(), static_cast<int>(history.size()));
    changes += 3 + kTraces;
    for (int indicator : {ids::main::NUMMvalue, ids::main::NUMValueMM}) {
      ui.SetCtrlVal(st.pHandle, indicator, answer);
      ui.SetBackColour(st.pHandle, indicator, answer % 2 ? ui::kRed : ui::kGreen);
    }
    replotsDuringChanges += replots - replotsBefore;
    paintsDuringChanges += counter.paints - paintsBefore;
    pump(1);
  }
  runtime.view().flushPending();
  ASSERT_EQ(chart->graphCount(), kTraces);
  for (int t = 0; t < kTraces; ++t) {
    EXPECT_EQ(chart->graph(t)->data()->size(), 101) << t;
  }
  EXPECT_EQ((chart->graph(kTraces - 1)->data()->constEnd() - 1)->value, kAnswers - 1);
  // Changes only mark what is out of date; the pump redraws, several changes at
  // once.
  EXPECT_EQ(replotsDuringChanges, 0);
  EXPECT_EQ(paintsDuringChanges, 0);
  EXPECT_GT(counter.paints, 0);
  EXPECT_GT(replots, 0);
  EXPECT_LT(replots, changes);
}

TEST_F(ScopeWindow, ScreenReaderTellsTheTwoPowerSlidersApart) {
  QAccessibleInterface* window =
      QAccessible::queryAccessibleInterface(runtime.view().panelWidget(st.pHandle));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->text(QAccessible::Name), "pHandle");
  QAccessibleInterface* master = find(window, "pPara1");
  QAccessibleInterface* slave = find(window, "pPara2");
  ASSERT_TRUE(master && slave);
  QAccessibleInterface* masterPower = find(master, "SLIDEpower");
  QAccessibleInterface* slavePower = find(slave, "SLIDEpower");
  ASSERT_TRUE(masterPower && slavePower);
  EXPECT_NE(masterPower->object(), slavePower->object());
  ASSERT_NE(slavePower->valueInterface(), nullptr);
  EXPECT_EQ(slavePower->valueInterface()->currentValue().toInt(), 500);
  QAccessibleInterface* status = find(window, "TEXTStatus");
  ASSERT_NE(status, nullptr);
}

// The same window identifying the simulated sensor pair over the in-process
// line, on the wall clock: the frames reach the panels and the texts reach a
// screen reader.
// The main window identified against the simulated pair in this process.
class IdentifiedScopeWindow : public ScopeWindowTest {
 protected:
  IdentifiedScopeWindow() : ScopeWindowTest(Line::SimulatedPair) {}
};

TEST_F(IdentifiedScopeWindow, ShowsTheSensorsDescriptionAndFirmwareText) {
  QWidget* status = runtime.view().controlWidget(st.pHandle, ids::main::TEXTStatus);
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(status);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->text(QAccessible::Description).toStdString(),
            sensor->firmwareText() + " [TEXTStatus]");
  EXPECT_EQ(runtime.ui().GetCtrlVal(st.pPara2, ids::sensor::NUMTeach), sensor->ram(2)[3]);

  runtime.ui().DisplayPanel(st.pCalib);
  runtime.ui().HidePanel(st.pPara0);
  QDir().mkpath(QRIX_SCREENSHOT_DIR);
  EXPECT_TRUE(runtime.view().grab(st.pHandle).save(QRIX_SCREENSHOT_DIR "/scope_main.png"));
  // The compare window after its read: the simulated pair's RAM equals its EEPROM.
  runtime.ui().dispatch(st.pHandle, ids::main::BTNCompare, ui::EVENT_COMMIT);
  EXPECT_EQ(runtime.ui().GetCtrlText(st.pCompare, ids::compare::TEXTCompareState),
            "No field differs.");
  EXPECT_TRUE(runtime.view().grab(st.pCompare).save(QRIX_SCREENSHOT_DIR "/scope_compare.png"));
}

// RUN's graphs repaint only their data area for each answer; what the window shows of each is
// still what a repaint of all of it draws. Compared once the repaints of the last answer are
// done, so that no new content waits for its repaint.
TEST_F(IdentifiedScopeWindow, RunGraphsOnScreenAreWhatAWholeRepaintDraws) {
  namespace m = ids::main;
  int replots = 0;
  QCustomPlot* raw = runtime.view().plotWidget(st.pHandle, m::GRAPHRaw);
  QObject::connect(raw, &QCustomPlot::afterReplot, [&replots] { ++replots; });
  QTimer::singleShot(800, [&] { runtime.ui().dispatch(st.pHandle, m::BTNStop, ui::EVENT_COMMIT); });
  runtime.ui().dispatch(st.pHandle, m::BTNRun, ui::EVENT_COMMIT);
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 100) {
    runtime.ProcessSystemEvents();
  }
  EXPECT_GT(replots, 5);
  std::vector<int> wrong;
  for (int graph : {m::GRAPHRaw, m::GRAPHBarMaster, m::GRAPHBarSlave}) {
    if (!showsWhatItDraws(runtime.view().plotWidget(st.pHandle, graph))) {
      wrong.push_back(graph);
    }
  }
  EXPECT_EQ(wrong, std::vector<int>{});
}

}  // namespace
}  // namespace qrix::test
