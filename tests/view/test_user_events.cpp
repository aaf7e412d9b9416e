// User input into events: clicks, right-clicks, typed and stepped numbers, ring choices,
// toggles, radio buttons, sliders, window close, and callbacks that pump or discard their
// own panel while Qt is still inside the widget that called them.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "synthetic_panels.h"

namespace qrix::test {
namespace {

using ui::EVENT_CLOSE;
using ui::EVENT_COMMIT;
using ui::EVENT_LEFT_CLICK;
using ui::EVENT_RIGHT_CLICK;
using ui::EVENT_VAL_CHANGED;
using Events = std::vector<int>;

class UserEvents : public ViewTest {};

TEST_F(UserEvents, ButtonClickSendsLeftClickThenCommitAndSpaceOnlyCommit) {
  QTest::mouseClick(widget("BTNrun"), Qt::LeftButton);
  EXPECT_EQ(eventsOf("BTNrun"), (Events{EVENT_LEFT_CLICK, EVENT_COMMIT}));
  QTest::keyClick(widget("BTNrun"), Qt::Key_Space);
  EXPECT_EQ(eventsOf("BTNrun"), (Events{EVENT_LEFT_CLICK, EVENT_COMMIT, EVENT_COMMIT}));
}

// Seen: only the link indicator took Enter; a button ignored it.
TEST_F(UserEvents, EnterPressesAButtonAsSpaceDoesUnlessItIsDimmed) {
  QTest::keyClick(widget("BTNrun"), Qt::Key_Return);
  QTest::keyClick(widget("BTNrun"), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(eventsOf("BTNrun"), (Events{EVENT_COMMIT, EVENT_COMMIT}));
  QTest::keyClick(widget("TGLlaser"), Qt::Key_Return);
  EXPECT_EQ(value("TGLlaser"), 1);
  EXPECT_EQ(eventsOf("TGLlaser"), (Events{EVENT_COMMIT}));
  // A press that reaches a dimmed button anyway (the widget enabled behind the model's back)
  // is refused where every event is routed.
  ui().SetDimmed(main, id("BTNrun"), true);
  widget("BTNrun")->setEnabled(true);
  QTest::keyClick(widget("BTNrun"), Qt::Key_Return);
  EXPECT_EQ(eventsOf("BTNrun"), (Events{EVENT_COMMIT, EVENT_COMMIT}));
}

TEST_F(UserEvents, RightClickOnAnyControlSendsRightClick) {
  for (const char* name : {"BTNrun", "NUMgain", "RINGmode", "SLIDEpower", "TBXlog", "GRAPHprofile",
                           "STRIPrate", "TXTstatus"}) {
    QWidget* target = widget(name);
    // A text box takes its mouse on the viewport, a spin box on its line edit.
    if (auto* box = qobject_cast<QPlainTextEdit*>(target)) {
      target = box->viewport();
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(target)) {
      target = spin->findChild<QLineEdit*>();
    }
    QTest::mouseClick(target, Qt::RightButton);
    EXPECT_EQ(eventsOf(name), (Events{EVENT_RIGHT_CLICK})) << name;
  }
}

TEST_F(UserEvents, TypedNumberSendsValueChangedPerEditThenCommitOnEnter) {
  auto* spin = as<QSpinBox>("NUMexposure");
  spin->selectAll();
  QTest::keyClicks(spin, "42");
  EXPECT_EQ(eventsOf("NUMexposure"), (Events{EVENT_VAL_CHANGED, EVENT_VAL_CHANGED}));
  EXPECT_EQ(value("NUMexposure"), 42);
  QTest::keyClick(spin, Qt::Key_Return);
  EXPECT_EQ(eventsOf("NUMexposure"), (Events{EVENT_VAL_CHANGED, EVENT_VAL_CHANGED, EVENT_COMMIT}));
}

TEST_F(UserEvents, ArrowStepCommitsAtOnceWithTheSteppedValue) {
  ui().SetCtrlVal(main, id("NUMgain"), 1.0);
  as<QDoubleSpinBox>("NUMgain")->stepUp();
  EXPECT_EQ(eventsOf("NUMgain"), (Events{EVENT_VAL_CHANGED, EVENT_COMMIT}));
  EXPECT_DOUBLE_EQ(value("NUMgain"), 1.25);
}

TEST_F(UserEvents, DimmedControlsSendNothingAndIgnoreAValuePushedIntoThem) {
  ui().SetDimmed(main, id("BTNrun"), true);
  ui().SetDimmed(main, id("NUMexposure"), true);
  QTest::mouseClick(widget("BTNrun"), Qt::LeftButton);
  as<QSpinBox>("NUMexposure")->setValue(77);
  EXPECT_EQ(value("NUMexposure"), 100);
  EXPECT_EQ(as<QSpinBox>("NUMexposure")->value(), 100);
  EXPECT_TRUE(events.empty());
}

TEST_F(UserEvents, RingChoiceWritesTheItemValueAndCommits) {
  auto* ring = as<QComboBox>("RINGmode");
  ring->setCurrentIndex(2);
  emit ring->activated(2);
  EXPECT_EQ(value("RINGmode"), 2);
  EXPECT_EQ(eventsOf("RINGmode"), (Events{EVENT_COMMIT}));
}

TEST_F(UserEvents, ToggleSendsLeftClickThenWritesModelThenCommits) {
  std::vector<double> seenAtCommit;
  runtime.callbacks().bind("CC_TGLlaser", [&](int p, int c, int e, int, int) {
    events.push_back({"TGLlaser", e});
    if (e == EVENT_COMMIT) {
      seenAtCommit.push_back(ui().GetCtrlVal(p, c));
    }
    return 0;
  });
  QTest::mouseClick(widget("TGLlaser"), Qt::LeftButton);
  EXPECT_EQ(eventsOf("TGLlaser"), (Events{EVENT_LEFT_CLICK, EVENT_COMMIT}));
  EXPECT_EQ(seenAtCommit, std::vector<double>{1});
  QTest::mouseClick(widget("TGLlaser"), Qt::LeftButton);
  EXPECT_EQ(value("TGLlaser"), 0);
}

TEST_F(UserEvents, RadioClickSendsValueChangedAndCommitAndLeavesTheOthersToTheProgram) {
  ui().SetCtrlVal(main, id("RADmaster"), 1);
  QTest::mouseClick(widget("RADslave"), Qt::LeftButton);
  EXPECT_EQ(value("RADslave"), 1);
  EXPECT_EQ(eventsOf("RADslave"), (Events{EVENT_VAL_CHANGED, EVENT_COMMIT}));
  EXPECT_TRUE(as<QRadioButton>("RADmaster")->isChecked());
  EXPECT_EQ(value("RADmaster"), 1);
}

TEST_F(UserEvents, SliderSendsValueChangedWhileDraggedAndCommitsOnRelease) {
  auto* slider = as<QSlider>("SLIDEpower");
  slider->setSliderDown(true);
  slider->setValue(30);
  slider->setValue(35);
  EXPECT_EQ(eventsOf("SLIDEpower"), (Events{EVENT_VAL_CHANGED, EVENT_VAL_CHANGED}));
  slider->setSliderDown(false);
  EXPECT_EQ(eventsOf("SLIDEpower"), (Events{EVENT_VAL_CHANGED, EVENT_VAL_CHANGED, EVENT_COMMIT}));
  EXPECT_EQ(value("SLIDEpower"), 35);
}

TEST_F(UserEvents, ClosingTheWindowCallsThePanelCallbackAndKeepsTheWindow) {
  QPointer<QWidget> window = runtime.view().panelWidget(main);
  EXPECT_FALSE(window->close());
  pumpFor(20);
  EXPECT_EQ(eventsOf("pMain"), (Events{EVENT_CLOSE}));
  ASSERT_FALSE(window.isNull());
  EXPECT_TRUE(window->isVisible());
}

TEST_F(UserEvents, CallbackMayDiscardItsOwnPanelWhileItsButtonIsStillOnTheStack) {
  QPointer<QWidget> button = widget("BTNrun");
  runtime.callbacks().bind("CC_BTNrun", [&](int p, int, int e, int, int) {
    if (e == EVENT_COMMIT) {
      ui().DiscardPanel(p);
      // The program pumps on; the button must survive until its click has returned.
      for (int i = 0; i < 5; ++i) {
        runtime.ProcessSystemEvents();
      }
      EXPECT_FALSE(button.isNull());
    }
    return 0;
  });
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_FALSE(button.isNull());
  runtime.ProcessSystemEvents();
  EXPECT_TRUE(button.isNull());
}

TEST_F(UserEvents, SecondClickReentersACallbackThatIsStillPumping) {
  int depth = 0;
  int maxDepth = 0;
  bool second = false;
  runtime.callbacks().bind("CC_BTNrun", [&](int, int, int e, int, int) {
    if (e != EVENT_COMMIT) {
      return 0;
    }
    maxDepth = std::max(maxDepth, ++depth);
    if (depth == 1) {
      QTimer::singleShot(5, [&] { QTest::mouseClick(widget("BTNrun"), Qt::LeftButton); });
      QElapsedTimer waited;
      waited.start();
      while (!second && waited.elapsed() < 2000) {
        runtime.ProcessSystemEvents();
      }
    } else {
      second = true;
    }
    --depth;
    return 0;
  });
  QTest::mouseClick(widget("BTNrun"), Qt::LeftButton);
  EXPECT_EQ(maxDepth, 2);
}

}  // namespace
}  // namespace qrix::test
