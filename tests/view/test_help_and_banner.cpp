// The main panel's help boxes and header banner in real widgets, clicked where the user sees
// them: a right-click on each kind of control with help opens its box above everything around
// it, a left- or right-click on the box closes it; a fresh start shows the shipped logo.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "runtime/qt/qt_runtime.h"
#include "shell/help_texts.h"
#include "shell/panel_table.h"
#include "shell/program.h"
#include "shell/startup.h"

namespace qrix::test {
namespace {

class HelpAndBanner : public ::testing::Test {
 protected:
  HelpAndBanner() : runtime([](int id) { return panelTemplate(id); }), program(runtime) {
    StartOptions options;
    options.portSetup = [](Program&) {};
    EXPECT_EQ(StartUp(program, options), 0);
    runtime.ProcessSystemEvents();
  }
  ~HelpAndBanner() override { ShutDown(program); }

  QWidget* window() { return runtime.view().panelWidget(st.pHandle); }
  // The centre of a control's widget in main-window coordinates.
  QPoint centreOf(int panel, int control) {
    QWidget* w = runtime.view().controlWidget(panel, control);
    return w->mapTo(window(), w->rect().center());
  }
  // A click lands on the topmost widget at that spot, as a user's would.
  void clickAt(QPoint at, Qt::MouseButton button) {
    QWidget* hit = window()->childAt(at);
    ASSERT_NE(hit, nullptr);
    QTest::mouseClick(hit, button, {}, hit->mapFrom(window(), at));
  }

  QtRuntime runtime;
  Program program;
  ProgramState& st = program.st;
};

TEST_F(HelpAndBanner, RightClickOpensTheHelpAboveThePanelsAndAClickOnTheBoxClosesIt) {
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
    for (const HelpRow& r : helpTable())
      if (std::string_view(r.control) == c.control) row = &r;
    ASSERT_NE(row, nullptr) << c.control;

    clickAt(centreOf(panel, c.id), Qt::RightButton);
    ASSERT_TRUE(ui.IsVisible(st.pHandle, row->box)) << c.control;
    EXPECT_EQ(ui.GetCtrlText(st.pHandle, row->box), row->text);
    // Nothing else, a parameter panel included, covers the middle of the box.
    QWidget* box = runtime.view().controlWidget(st.pHandle, row->box);
    const QPoint boxCentre = centreOf(st.pHandle, row->box);
    QWidget* top = window()->childAt(boxCentre);
    EXPECT_TRUE(top == box || box->isAncestorOf(top)) << c.control;

    clickAt(boxCentre, closeWithLeft ? Qt::LeftButton : Qt::RightButton);
    EXPECT_FALSE(ui.IsVisible(st.pHandle, row->box))
        << c.control << " closed by " << (closeWithLeft ? "left" : "right");
    closeWithLeft = !closeWithLeft;
  }
}

TEST_F(HelpAndBanner, FreshStartShowsTheShippedLogoInTheBanner) {
  auto* logo = qobject_cast<QLabel*>(runtime.view().controlWidget(st.pHandle, ids::main::PICTLogo));
  ASSERT_NE(logo, nullptr);
  EXPECT_FALSE(logo->pixmap().isNull());
  EXPECT_TRUE(logo->isVisible());
}

}  // namespace
}  // namespace qrix::test
