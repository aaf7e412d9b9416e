// Accessibility, as a screen reader or a GUI test robot sees the panels: values set through the
// value interface with the same events as a user edit, pressable buttons, and texts kept in the
// description. Names, and toggles switched by a screen reader, are tested on the scope's own
// panels (test_scope_window.cpp).

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QElapsedTimer>
#include <QPlainTextEdit>

#include "synthetic_panels.h"

namespace qrix::test {
namespace {

using Events = std::vector<int>;

class Accessibility : public ViewTest {
 protected:
  QAccessibleInterface* face(const std::string& name) {
    return QAccessible::queryAccessibleInterface(widget(name));
  }
};

TEST_F(Accessibility, ValueSetThroughTheValueInterfaceReachesTheModelWithItsEvents) {
  struct Case {
    const char* name;
    int set;
    double kept;
    Events events;  // of that control so far
  };
  ui().SetCtrlVal(main, id("NUMframes"), 5);
  const Case cases[] = {
      {"NUMexposure", 250, 250, {ui::EVENT_VAL_CHANGED, ui::EVENT_COMMIT}},
      {"SLIDEpower", 64, 64, {ui::EVENT_VAL_CHANGED, ui::EVENT_COMMIT}},
      {"RINGmode", 1, 1, {ui::EVENT_COMMIT}},
      {"RINGmode", 9, 1, {ui::EVENT_COMMIT}},  // no item has 9: refused, not invented
      {"NUMframes", 99, 5, {}},                // an indicator is not set from outside
  };
  for (const Case& c : cases) {
    QAccessibleValueInterface* v = face(c.name)->valueInterface();
    ASSERT_NE(v, nullptr) << c.name;
    v->setCurrentValue(c.set);
    EXPECT_EQ(value(c.name), c.kept) << c.name << " " << c.set;
    EXPECT_EQ(eventsOf(c.name), c.events) << c.name << " " << c.set;
  }
  EXPECT_EQ(face("RINGmode")->text(QAccessible::Value), "Slow");
}

// A press without the mouse is what Space does: a commit, no left-click.
TEST_F(Accessibility, ButtonIsPressableThroughTheActionInterface) {
  QAccessibleActionInterface* actions = face("BTNrun")->actionInterface();
  ASSERT_NE(actions, nullptr);
  actions->doAction(QAccessibleActionInterface::pressAction());
  QElapsedTimer waited;
  waited.start();
  while (eventsOf("BTNrun").empty() && waited.elapsed() < 1000) {
    runtime.ProcessSystemEvents();
  }
  EXPECT_EQ(eventsOf("BTNrun"), (Events{ui::EVENT_COMMIT}));
}

TEST_F(Accessibility, ShownTextsAreInTheDescription) {
  ui().SetCtrlText(main, id("TXTstatus"), "Measuring");
  ui().ResetTextBox(main, id("TBXlog"), "a\nb");
  EXPECT_EQ(face("TXTstatus")->text(QAccessible::Name), "TXTstatus");
  EXPECT_EQ(face("TXTstatus")->text(QAccessible::Description), "Measuring [TXTstatus]");
  EXPECT_EQ(face("TBXlog")->text(QAccessible::Description), "a\nb [TBXlog]");
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
