// The scope's own windows from the keyboard and through a screen reader: Tab in reading order,
// Escape as the close box of the side windows, names a listener recognises with the model's
// name kept for test tools, and the bar graphs told in words.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <map>

#include "program/program.h"
#include "runtime/qt/qt_runtime.h"
#include "scope_window_fixture.h"

namespace qrix::test {
namespace {

struct Placed {
  int panel;
  ui::Rect at;
};

class KeysAndNames : public ScopeWindowTest {
 protected:
  explicit KeysAndNames(Line line = Line::None) : ScopeWindowTest(line) {}
  QWidget* window(int panel) { return runtime.view().panelWidget(panel); }
  QWidget* widget(int panel, int control) { return runtime.view().controlWidget(panel, control); }
  bool shown(int panel) { return runtime.ui().panel(panel)->visible && window(panel)->isVisible(); }
  void pump() {
    for (int i = 0; i < 5; ++i) {
      runtime.ProcessSystemEvents();
    }
  }
  // Every control widget of every panel, with where the model puts it.
  std::map<QWidget*, Placed> placed() {
    std::map<QWidget*, Placed> out;
    for (int panel : runtime.ui().panelHandles()) {
      for (const auto& [id, c] : runtime.ui().panel(panel)->controls) {
        if (QWidget* w = widget(panel, id)) {
          out[w] = {panel, c.bounds};
        }
      }
    }
    return out;
  }
};

// Seen: Tab went RUN, Recorder, Zoom, the panel tabs, the link indicator, Compare, ...
TEST_F(KeysAndNames, TabFollowsTheReadingOrderPanelByPanel) {
  const std::map<QWidget*, Placed> where = placed();
  QWidget* top = window(st.pHandle);
  std::vector<QWidget*> stops;
  for (QWidget* w = top->nextInFocusChain(); w != top; w = w->nextInFocusChain()) {
    if (where.count(w) && w->isVisibleTo(top) && w->isEnabled() &&
        (w->focusPolicy() & Qt::TabFocus)) {
      stops.push_back(w);
    }
  }
  ASSERT_GT(stops.size(), 10u);
  EXPECT_EQ(where.at(stops.front()).panel, st.pHandle);
  std::vector<int> panelsLeft;
  for (std::size_t i = 1; i < stops.size(); ++i) {
    const Placed& a = where.at(stops[i - 1]);
    const Placed& b = where.at(stops[i]);
    const std::string step =
        stops[i - 1]->objectName().toStdString() + " -> " + stops[i]->objectName().toStdString();
    if (a.panel != b.panel) {
      // Each panel's controls come together: a panel once left is not entered again.
      panelsLeft.push_back(a.panel);
      EXPECT_EQ(std::count(panelsLeft.begin(), panelsLeft.end(), b.panel), 0) << step;
      continue;
    }
    const bool sameRow =
        b.at.top <= a.at.top + a.at.height - 1 && a.at.top <= b.at.top + b.at.height - 1;
    EXPECT_TRUE(b.at.top > a.at.top || (sameRow && b.at.left > a.at.left)) << step;
  }
}

TEST_F(KeysAndNames, EscapeClosesTheSideWindowsAndHelpButNotTheMainWindow) {
  for (int panel : {st.pCompare, st.pExport, st.pLinkLog, st.pStatistics}) {
    runtime.ui().DisplayPanel(panel);
    ASSERT_TRUE(shown(panel));
    // From a control inside, as the focus usually is.
    QWidget* inside = widget(panel, runtime.ui().panel(panel)->controls.begin()->first);
    QTest::keyClick(inside ? inside : window(panel), Qt::Key_Escape);
    pump();
    EXPECT_FALSE(shown(panel)) << runtime.ui().panel(panel)->name;
  }
  runtime.ui().dispatch(st.pHandle, ids::main::BTNRun, ui::EVENT_RIGHT_CLICK);
  ASSERT_TRUE(runtime.ui().IsVisible(st.pHandle, ids::main::HelpText1));
  QTest::keyClick(widget(st.pHandle, ids::main::BTNRun), Qt::Key_Escape);
  pump();
  EXPECT_FALSE(runtime.ui().IsVisible(st.pHandle, ids::main::HelpText1));
  EXPECT_TRUE(shown(st.pHandle));
  EXPECT_FALSE(runtime.quitRequested());
}

TEST_F(KeysAndNames, NamesAreTheShownWordsAndTheDescriptionEndsWithTheModelName) {
  struct Known {
    int ProgramState::*panel;
    int control;
    const char* name;
  };
  namespace m = ids::main;
  for (Known k : {Known{&ProgramState::pHandle, m::BTNRun, "RUN"},
                  {&ProgramState::pHandle, m::DropDCom, "Serial port"},
                  {&ProgramState::pHandle, m::BTNCompare, "Compare ..."},
                  {&ProgramState::pHandle, m::LEDLink, "Link"},
                  {&ProgramState::pPara0, ids::para0::DropEvalMode, "Evaluation mode"}}) {
    QAccessibleInterface* face =
        QAccessible::queryAccessibleInterface(widget(st.*k.panel, k.control));
    ASSERT_NE(face, nullptr) << k.name;
    EXPECT_EQ(face->text(QAccessible::Name), k.name);
  }
  EXPECT_EQ(QAccessible::queryAccessibleInterface(widget(st.pHandle, m::BTNCompare))
                ->text(QAccessible::Description),
            "Compare ... [BTNCompare]");
  // Every control of every panel: its label when it has one, its own name as object name and
  // at the end of the description.
  for (const auto& [w, at] : placed()) {
    const ui::Control* c = nullptr;
    for (const auto& [id, control] : runtime.ui().panel(at.panel)->controls) {
      if (widget(at.panel, id) == w) {
        c = &control;
      }
    }
    ASSERT_NE(c, nullptr);
    const QString name = QString::fromStdString(c->name);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    EXPECT_EQ(w->objectName(), name);
    EXPECT_TRUE(face->text(QAccessible::Description).endsWith("[" + name + "]")) << c->name;
    if (!c->label.empty()) {
      EXPECT_EQ(face->text(QAccessible::Name).toStdString(), c->label);
    }
  }
}

class RunningKeysAndNames : public KeysAndNames {
 protected:
  RunningKeysAndNames() : KeysAndNames(Line::SimulatedPair) {}
};

TEST_F(RunningKeysAndNames, BarGraphTellsItsValueAndToleranceAfterARunAnswer) {
  namespace m = ids::main;
  QTimer::singleShot(600, [&] { runtime.ui().dispatch(st.pHandle, m::BTNStop, ui::EVENT_COMMIT); });
  runtime.ui().dispatch(st.pHandle, m::BTNRun, ui::EVENT_COMMIT);
  runtime.view().flushPending();
  const QString said = QAccessible::queryAccessibleInterface(widget(st.pHandle, m::GRAPHBarMaster))
                           ->text(QAccessible::Description);
  const QString value = "MASTER: " + QString::number(st.curposA) + " virtual px, ";
  EXPECT_TRUE(said.startsWith(value + "inside the tolerance window ") ||
              said.startsWith(value + "outside the tolerance window "))
      << said.toStdString();
  EXPECT_TRUE(said.endsWith(" [GRAPHBarMaster]")) << said.toStdString();
}

}  // namespace
}  // namespace qrix::test
