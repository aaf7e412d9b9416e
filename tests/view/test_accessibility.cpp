// Accessibility, as a screen reader or a GUI test robot sees the panels: names from the model,
// values read and set through the value interface with the same events as a user edit,
// pressable buttons, and texts kept in the description. Toggles and radio buttons switched by a
// screen reader are tested on the scope's own panels (test_scope_window.cpp).

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QElapsedTimer>
#include <QPlainTextEdit>

#include "accessible_search.h"
#include "synthetic_panels.h"

namespace qrix::test {
namespace {

using Events = std::vector<int>;

class Accessibility : public ViewTest {
 protected:
  QAccessibleInterface* face(QWidget* w) { return QAccessible::queryAccessibleInterface(w); }
  QAccessibleInterface* face(const std::string& name) { return face(widget(name)); }

  QAccessibleInterface* find(QAccessibleInterface* under, const QString& name) {
    return findAccessible(under, name);
  }
};

TEST_F(Accessibility, PanelsAndControlsCarryTheModelsNames) {
  QAccessibleInterface* window = face(runtime.view().panelWidget(main));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->text(QAccessible::Name), "pMain");
  QAccessibleInterface* p1 = find(window, "pPara1");
  QAccessibleInterface* p2 = find(window, "pPara2");
  ASSERT_NE(p1, nullptr);
  ASSERT_NE(p2, nullptr);
  QAccessibleInterface* s1 = find(p1, "SLIDEpower");
  QAccessibleInterface* s2 = find(p2, "SLIDEpower");
  ASSERT_NE(s1, nullptr);
  ASSERT_NE(s2, nullptr);
  // Same name, told apart by the panel.
  EXPECT_NE(s1->object(), s2->object());
  EXPECT_EQ(s1->object(), runtime.view().controlWidget(para1, 1));
}

TEST_F(Accessibility, NumberSetThroughTheValueInterfaceReachesTheModelWithItsEvents) {
  QAccessibleValueInterface* v = face("NUMexposure")->valueInterface();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->currentValue().toInt(), 100);
  v->setCurrentValue(250);
  EXPECT_EQ(value("NUMexposure"), 250);
  EXPECT_EQ(eventsOf("NUMexposure"), (Events{ui::EVENT_VAL_CHANGED, ui::EVENT_COMMIT}));
}

TEST_F(Accessibility, SliderSetThroughTheValueInterfaceReachesTheModel) {
  QAccessibleValueInterface* v = face("SLIDEpower")->valueInterface();
  ASSERT_NE(v, nullptr);
  v->setCurrentValue(64);
  EXPECT_EQ(value("SLIDEpower"), 64);
  EXPECT_EQ(eventsOf("SLIDEpower"), (Events{ui::EVENT_VAL_CHANGED, ui::EVENT_COMMIT}));
}

TEST_F(Accessibility, RingIsReadAndSetByItemValue) {
  QAccessibleInterface* ring = face("RINGmode");
  QAccessibleValueInterface* v = ring->valueInterface();
  ASSERT_NE(v, nullptr);
  v->setCurrentValue(1);
  EXPECT_EQ(value("RINGmode"), 1);
  EXPECT_EQ(ring->text(QAccessible::Value), "Slow");
  EXPECT_EQ(eventsOf("RINGmode"), (Events{ui::EVENT_COMMIT}));
  // A value that no item has is refused rather than invented.
  v->setCurrentValue(9);
  EXPECT_EQ(value("RINGmode"), 1);
}

TEST_F(Accessibility, IndicatorRefusesAValueSetFromOutside) {
  ui().SetCtrlVal(main, id("NUMframes"), 5);
  face("NUMframes")->valueInterface()->setCurrentValue(99);
  EXPECT_EQ(value("NUMframes"), 5);
  EXPECT_TRUE(events.empty());
}

// A press without the mouse is what Space does: a commit, no left-click.
TEST_F(Accessibility, ButtonIsPressableThroughTheActionInterface) {
  QAccessibleActionInterface* actions = face("BTNrun")->actionInterface();
  ASSERT_NE(actions, nullptr);
  ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
  actions->doAction(QAccessibleActionInterface::pressAction());
  QElapsedTimer waited;
  waited.start();
  while (eventsOf("BTNrun").empty() && waited.elapsed() < 1000) runtime.ProcessSystemEvents();
  EXPECT_EQ(eventsOf("BTNrun"), (Events{ui::EVENT_COMMIT}));
}

TEST_F(Accessibility, ShownTextsAreInTheDescription) {
  ui().SetCtrlText(main, id("TXTstatus"), "Measuring");
  ui().ResetTextBox(main, id("TBXlog"), "a\nb");
  EXPECT_EQ(face("TXTstatus")->text(QAccessible::Name), "TXTstatus");
  EXPECT_EQ(face("TXTstatus")->text(QAccessible::Description), "Measuring");
  EXPECT_EQ(face("TBXlog")->text(QAccessible::Description), "a\nb");
  EXPECT_EQ(face("BTNrun")->text(QAccessible::Description), "Run");
}

// Qt's editable-text interface ignores read-only: the box must not keep text the program never
// wrote.
TEST_F(Accessibility, TextInsertedIntoAReadOnlyBoxIsPutBack) {
  ui().ResetTextBox(main, id("TBXlog"), "a\nb");
  QAccessibleEditableTextInterface* edit = face("TBXlog")->editableTextInterface();
  ASSERT_NE(edit, nullptr);
  edit->insertText(0, "9");
  EXPECT_EQ(as<QPlainTextEdit>("TBXlog")->toPlainText(), "a\nb");
  EXPECT_EQ(ui().GetCtrlText(main, id("TBXlog")), "a\nb");
}

}  // namespace
}  // namespace qrix::test
