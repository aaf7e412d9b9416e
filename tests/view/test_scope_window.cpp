// The scope's own panels in real widgets, drawn off screen: all six render, the notebook tabs
// and a tolerance field work through mouse and keyboard, the twin controls of the two sensor
// panels are told apart by a screen reader, and a screenshot of the main window is written.

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QTest>

#include "accessible_search.h"
#include "qrix/sim/sensor_pair.hpp"
#include "runtime/qt/qt_runtime.h"
#include "runtime/sim_line_device.h"
#include "shell/panel_table.h"
#include "shell/program.h"
#include "shell/startup.h"

namespace qrix::test {
namespace {

class ScopeWindow : public ::testing::Test {
 protected:
  ScopeWindow() : runtime([](int id) { return panelTemplate(id); }), program(runtime) {
    StartOptions options;
    options.portSetup = [](Program&) {};  // no serial line: the window alone
    EXPECT_EQ(StartUp(program, options), 0);
    runtime.ProcessSystemEvents();
  }
  ~ScopeWindow() override { ShutDown(program); }

  QWidget* widget(int panel, int control) { return runtime.view().controlWidget(panel, control); }
  void pump(int times = 5) {
    for (int i = 0; i < times; ++i) runtime.ProcessSystemEvents();
  }
  QAccessibleInterface* find(QAccessibleInterface* under, const QString& name) {
    return findAccessible(under, name);
  }

  QtRuntime runtime;
  Program program;
  ProgramState& st = program.st;
};

TEST_F(ScopeWindow, AllSixPanelsRenderAndTheMainWindowIsSaved) {
  const std::string dir = QRIX_SCREENSHOT_DIR;
  QDir().mkpath(QString::fromStdString(dir));
  runtime.ui().DisplayPanel(st.pPopUp);
  for (int panel : {st.pPara0, st.pPara1, st.pPara2, st.pCalib}) {
    runtime.ui().DisplayPanel(panel);
    const QImage image = runtime.view().grab(panel);
    EXPECT_FALSE(image.isNull()) << runtime.ui().panel(panel)->name;
    EXPECT_GE(image.width(), 300);
  }
  runtime.ui().HidePanel(st.pPara1);
  runtime.ui().HidePanel(st.pPara2);
  runtime.ui().HidePanel(st.pCalib);
  const QImage popup = runtime.view().grab(st.pPopUp);
  EXPECT_TRUE(popup.save(QString::fromStdString(dir + "/scope_recorder.png")));
  const QImage main = runtime.view().grab(st.pHandle);
  ASSERT_FALSE(main.isNull());
  EXPECT_LE(main.width(), 1280);
  EXPECT_LE(main.height(), 800);
  EXPECT_TRUE(main.save(QString::fromStdString(dir + "/scope_main.png")));
}

TEST_F(ScopeWindow, ClickingATabShowsItsPanelAndTurnsTheOthersOff) {
  QTest::mouseClick(widget(st.pHandle, ids::main::TOGGBTN_Para2), Qt::LeftButton);
  pump();
  EXPECT_TRUE(runtime.ui().panel(st.pPara2)->visible);
  EXPECT_FALSE(runtime.ui().panel(st.pPara0)->visible);
  EXPECT_TRUE(runtime.view().panelWidget(st.pPara2)->isVisible());
  EXPECT_FALSE(runtime.view().panelWidget(st.pPara0)->isVisible());
  EXPECT_EQ(runtime.ui().GetCtrlVal(st.pHandle, ids::main::TOGGBTN_Para0), 0);
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

// The same window identifying the simulated sensor pair over the in-process line, on the wall
// clock: the frames reach the panels and the texts reach a screen reader.
TEST(IdentifiedScopeWindow, ShowsTheSensorsDescriptionAndFirmwareText) {
  QtRuntime runtime([](int id) { return panelTemplate(id); });
  auto sensor = std::make_shared<sim::SensorPair>();
  runtime.serial().setPorts({{1, serial::kSimDevice, "SIM  simulated sensor pair"}});
  runtime.serial().setOpener([&](const serial::PortEntry&, const serial::OpenSettings&, int&) {
    return std::make_unique<serial::SimLineDevice>(sensor, [&] { return runtime.Timer(); });
  });
  Program program(runtime);
  ASSERT_EQ(StartUp(program, {}), 0);
  runtime.ProcessSystemEvents();
  const ProgramState& st = program.st;
  EXPECT_EQ(runtime.ui().GetCtrlText(st.pHandle, ids::main::TEXTStatus), sensor->firmwareText());

  QWidget* status = runtime.view().controlWidget(st.pHandle, ids::main::TEXTStatus);
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(status);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->text(QAccessible::Description).toStdString(), sensor->firmwareText());
  EXPECT_EQ(runtime.ui().GetCtrlVal(st.pPara2, ids::sensor::NUMTeach), sensor->ram(2)[3]);

  runtime.ui().DisplayPanel(st.pCalib);
  runtime.ui().HidePanel(st.pPara0);
  const QImage image = runtime.view().grab(st.pHandle);
  EXPECT_TRUE(image.save(QRIX_SCREENSHOT_DIR "/scope_main_identified.png"));
  ShutDown(program);
}

}  // namespace
}  // namespace qrix::test
