// Rendering: controls shown, dimmed and valued as the model says; values set by the program
// reach the widgets without firing callbacks; panels added and discarded; a grab draws plots.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include "runtime/qt/number_views.h"
#include "synthetic_panels.h"

namespace qrix::test {
namespace {

class Render : public ViewTest {};

TEST_F(Render, VisibilityAndDimmingFollowTheModel) {
  QWidget* window = runtime.view().panelWidget(main);
  EXPECT_TRUE(window->isVisible());
  ui().SetVisible(main, id("BTNrun"), false);
  ui().SetDimmed(main, id("NUMgain"), true);
  EXPECT_FALSE(widget("BTNrun")->isVisible());
  EXPECT_FALSE(widget("NUMgain")->isEnabled());
  ui().SetVisible(main, id("BTNrun"), true);
  EXPECT_TRUE(widget("BTNrun")->isVisible());
  ui().HidePanel(main);
  EXPECT_FALSE(window->isVisible());
}

TEST_F(Render, ProgramSetValuesReachWidgetsWithoutAnyCallback) {
  ui().SetCtrlVal(main, id("NUMexposure"), 1234);
  ui().SetCtrlVal(main, id("NUMgain"), 2.5);
  ui().SetCtrlVal(main, id("SLIDEpower"), 40);
  ui().SetCtrlVal(main, id("RINGmode"), 2);
  ui().SetCtrlVal(main, id("TGLlaser"), 1);
  ui().SetCtrlVal(main, id("RADslave"), 1);
  ui().SetCtrlText(main, id("TXTstatus"), "Measuring");
  ui().ResetTextBox(main, id("TBXlog"), "fresh");
  pumpFor(30);
  EXPECT_EQ(as<QSpinBox>("NUMexposure")->value(), 1234);
  EXPECT_DOUBLE_EQ(as<QDoubleSpinBox>("NUMgain")->value(), 2.5);
  EXPECT_EQ(as<QSlider>("SLIDEpower")->value(), 40);
  EXPECT_EQ(as<QComboBox>("RINGmode")->currentText(), "Fast");
  EXPECT_TRUE(as<QPushButton>("TGLlaser")->isChecked());
  EXPECT_TRUE(as<QRadioButton>("RADslave")->isChecked());
  EXPECT_EQ(as<QLabel>("TXTstatus")->text(), "Measuring");
  EXPECT_EQ(as<QPlainTextEdit>("TBXlog")->toPlainText(), "fresh");
  EXPECT_TRUE(events.empty());
}

TEST_F(Render, RingValueMatchingNoItemIsShownAndNotChanged) {
  ui().SetCtrlVal(main, id("RINGmode"), 37);
  pumpFor(20);
  auto* ring = as<QComboBox>("RINGmode");
  EXPECT_EQ(ring->count(), 4);
  EXPECT_EQ(ring->currentText(), "37");
  EXPECT_EQ(value("RINGmode"), 37);
  ui().SetCtrlVal(main, id("RINGmode"), 1);
  EXPECT_EQ(ring->count(), 3);
  EXPECT_EQ(ring->currentText(), "Slow");
}

// Numbers are shown as the program sets them: not clamped to the field's limits, the whole
// 32-bit range in an indicator, rounded for display only.
TEST_F(Render, NumbersAreShownUnclampedAndRoundedOnlyOnScreen) {
  auto* frames = as<QSpinBox>("NUMframes");
  EXPECT_TRUE(frames->isReadOnly());
  for (double v : {2147483647.0, -2147483648.0}) {
    ui().SetCtrlVal(main, id("NUMframes"), v);
    runtime.view().flushPending();
    EXPECT_EQ(frames->value(), v);
  }
  ui().SetCtrlVal(main, id("NUMexposure"), 9000);
  EXPECT_EQ(as<QSpinBox>("NUMexposure")->value(), 9000);
  ui().SetCtrlVal(main, id("NUMgain"), 1.23456);
  pumpFor(20);
  EXPECT_DOUBLE_EQ(as<QDoubleSpinBox>("NUMgain")->value(), 1.23);
  EXPECT_DOUBLE_EQ(value("NUMgain"), 1.23456);
}

// Numbers fed with every answer of the line: an indicator shows a new value at once, then the
// newest one at a readable rate, and always the last; a field the user edits shows each at once.
TEST_F(Render, AnIndicatorFedFasterThanItCanBeReadShowsTheFirstAtOnceAndTheLastSoon) {
  auto* frames = as<QSpinBox>("NUMframes");
  auto* exposure = as<QSpinBox>("NUMexposure");
  pumpFor(qt::NumericView::kIndicatorMs + 20);
  ui().SetCtrlVal(main, id("NUMframes"), 11);
  EXPECT_EQ(frames->value(), 11);
  ui().SetCtrlVal(main, id("NUMframes"), 12);
  ui().SetCtrlVal(main, id("NUMframes"), 13);
  pumpFor(qt::NumericView::kIndicatorMs + 20);
  EXPECT_EQ(frames->value(), 13);
  for (int v : {9000, 9001}) {
    ui().SetCtrlVal(main, id("NUMexposure"), v);
    EXPECT_EQ(exposure->value(), v);
  }
}

TEST_F(Render, LabelAddedLaterAppearsOnItsPanel) {
  int label = ui().NewTextLabel(main, 540, 400, "added", "", ui::kRed, ui::kWhite, 12);
  auto* w = qobject_cast<QLabel*>(runtime.view().controlWidget(main, label));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->text(), "added");
  EXPECT_EQ(w->pos(), QPoint(400, 540));
  EXPECT_EQ(w->font().pointSize(), 12);
}

TEST_F(Render, DiscardedPanelLeavesTheScreenAndIsFreedByThePump) {
  QPointer<QWidget> window = runtime.view().panelWidget(main);
  QPointer<QWidget> inner = runtime.view().panelWidget(child);
  ui().DiscardPanel(main);
  EXPECT_EQ(runtime.view().panelWidget(main), nullptr);
  EXPECT_FALSE(window && window->isVisible());
  runtime.ProcessSystemEvents();
  EXPECT_TRUE(window.isNull());
  EXPECT_TRUE(inner.isNull());
}

TEST_F(Render, GrabDrawsThePlots) {
  ui().PlotRectangle(main, id("GRAPHprofile"), 50, 20, 90, 40, ui::kRed, ui::kGreen);
  ui().SetAxisRange(main, id("GRAPHprofile"), ui::Axis::X, 0, 300);
  QImage shot = runtime.view().grab(main);
  EXPECT_EQ(shot.deviceIndependentSize().toSize(), QSize(760, 560));
  bool green = false;  // the rectangle's fill
  for (int py = 0; py < shot.height() && !green; ++py) {
    for (int px = 0; px < shot.width() && !green; ++px) {
      green = shot.pixelColor(px, py) == QColor(0, 255, 0);
    }
  }
  EXPECT_TRUE(green);
}

}  // namespace
}  // namespace qrix::test
