// The link indicator and the link log window in real widgets, drawn off screen: the light
// shows the model's colour and tooltip and tells a screen reader both; a mouse click, Space,
// Enter and a screen reader's press each open the log window with the log in a fixed-pitch
// box; its close box hides it; Copy reaches the system clipboard.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>

#include "program/panel_table.h"
#include "program/program.h"
#include "runtime/qt/qt_colours.h"
#include "runtime/qt/qt_runtime.h"
#include "shell/link_indicator.h"
#include "shell/startup.h"

namespace qrix::test {
namespace {

namespace l = ids::linklog;
using link::ExchangeKind;
using link::Outcome;

class LinkIndicatorView : public ::testing::Test {
 protected:
  LinkIndicatorView() : runtime([](int id) { return panelTemplate(id); }), program(runtime) {
    StartOptions options;
    options.portSetup = [](Program&) {};
    EXPECT_EQ(StartUp(program, options), 0);
    program.logLine("port opened");
    program.logLine("time-out");
    pumpUntil([] { return true; });
  }
  ~LinkIndicatorView() override { ShutDown(program); }

  QWidget* led() { return runtime.view().controlWidget(st.pHandle, ids::main::LEDLink); }
  QWidget* logWidget(int control) { return runtime.view().controlWidget(st.pLinkLog, control); }
  bool logShown() {
    return runtime.ui().panel(st.pLinkLog)->visible &&
           runtime.view().panelWidget(st.pLinkLog)->isVisible();
  }
  // Pumps as the program's loops do, until the condition holds or a second has passed.
  bool pumpUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    do {
      runtime.ProcessSystemEvents();
    } while (!done() && waited.elapsed() < 1000);
    return done();
  }
  QColor shownColour() {
    const QImage image = led()->grab().toImage();
    return image.pixelColor(image.rect().center());
  }
  QAccessibleInterface* ledFace() { return QAccessible::queryAccessibleInterface(led()); }

  QtRuntime runtime;
  Program program;
  ProgramState& st = program.st;
};

TEST_F(LinkIndicatorView, LightShowsTheColourAndTooltipAndTellsAScreenReader) {
  struct Step {
    const char* what;
    std::function<void()> feed;
    ui::Rgb colour;
  };
  auto run = [this](Outcome outcome) { st.health.record(ExchangeKind::Run, outcome); };
  const Step steps[] = {
      {"no exchange yet", [] {}, ui::kGrey},
      {"answered", [&] { run(Outcome::Answered); }, ui::kGreen},
      {"two failures in 100",
       [&] {
         run(Outcome::TimedOut);
         run(Outcome::TimedOut);
         run(Outcome::Answered);
       },
       ui::kAmber},
      {"the last failed", [&] { run(Outcome::WrongEcho); }, ui::kRed},
  };
  for (const Step& step : steps) {
    step.feed();
    showLinkHealth(program);
    runtime.ProcessSystemEvents();
    runtime.view().flushPending();  // tooltips change at a readable rate
    EXPECT_EQ(shownColour(), qt::toQColor(step.colour)) << step.what;
    const QString tooltip =
        QString::fromStdString(runtime.ui().control(st.pHandle, ids::main::LEDLink)->tooltip);
    EXPECT_EQ(led()->toolTip(), tooltip) << step.what;
    ASSERT_NE(ledFace(), nullptr);
    EXPECT_EQ(ledFace()->text(QAccessible::Description), tooltip + " [LEDLink]") << step.what;
  }
  EXPECT_EQ(ledFace()->text(QAccessible::Name), "Link");
  EXPECT_TRUE(led()->toolTip().contains("RUN: 5 requests, 2 answers, 2 time-outs, 1 wrong echo"))
      << led()->toolTip().toStdString();
  // At the end of the status line, clear of its text.
  const QWidget* status = runtime.view().controlWidget(st.pHandle, ids::main::TEXTStatus);
  EXPECT_FALSE(led()->geometry().intersects(status->geometry()));
  EXPECT_TRUE(runtime.view().panelWidget(st.pHandle)->rect().contains(led()->geometry()));
}

TEST_F(LinkIndicatorView, EveryWayOfPressingTheLightOpensTheLogWindow) {
  struct Way {
    const char* what;
    std::function<void()> press;
  };
  const Way ways[] = {
      {"mouse", [&] { QTest::mouseClick(led(), Qt::LeftButton); }},
      {"Space",
       [&] {
         led()->setFocus();
         QTest::keyClick(led(), Qt::Key_Space);
       }},
      {"Enter",
       [&] {
         led()->setFocus();
         QTest::keyClick(led(), Qt::Key_Return);
       }},
      {"screen reader",
       [&] {
         QAccessibleActionInterface* actions = ledFace()->actionInterface();
         ASSERT_NE(actions, nullptr);
         ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
         actions->doAction(QAccessibleActionInterface::pressAction());
       }},
  };
  for (const Way& way : ways) {
    ASSERT_FALSE(logShown()) << way.what;
    way.press();
    EXPECT_TRUE(pumpUntil([&] { return logShown(); })) << way.what;
    auto* box = qobject_cast<QPlainTextEdit*>(logWidget(l::TEXTLinkLog));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toPlainText().toStdString(), st.health.logText()) << way.what;
    EXPECT_TRUE(QFontInfo(box->font()).fixedPitch()) << way.what;
    // The close box hides the window and leaves the program running.
    EXPECT_FALSE(runtime.view().panelWidget(st.pLinkLog)->close());
    EXPECT_TRUE(pumpUntil([&] { return !logShown(); })) << way.what;
    EXPECT_FALSE(runtime.quitRequested());
  }
}

TEST_F(LinkIndicatorView, CopyPutsTheLogOnTheSystemClipboard) {
  QTest::mouseClick(led(), Qt::LeftButton);
  ASSERT_TRUE(pumpUntil([&] { return logShown(); }));
  QGuiApplication::clipboard()->clear();
  QTest::mouseClick(logWidget(l::BTNCopyLog), Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), st.health.logText());
  EXPECT_EQ(runtime.ui().GetCtrlText(st.pLinkLog, l::TEXTLogState),
            "Copied 2 events to the clipboard.");
}

}  // namespace
}  // namespace qrix::test
