// The Qt runtime's pump, clock and dialogs: the pump returns when idle, handles posted timers
// and runs serial notifications only inside itself; Delay does not pump; dialogs answer as the
// program expects.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <functional>
#include <optional>

#include "modal_dialogs.h"
#include "runtime/qt/qt_runtime.h"

namespace qrix::test {
namespace {

ui::UiModel::PanelSource noPanels() {
  return [](int) { return std::optional<ui::PanelTemplate>{}; };
}

// A line whose queue always holds a few bytes.
class FullLine : public serial::SerialDevice {
 public:
  std::size_t write(const std::uint8_t*, std::size_t n) override { return n; }
  std::size_t read(std::uint8_t*, std::size_t) override { return 0; }
  std::size_t inQueueLength() override { return 8; }
  void flushInput() override {}
  void flushOutput() override {}
};

class Pump : public ::testing::Test {
 protected:
  QtRuntime runtime{noPanels()};
};

// Bounded, not timed: the limit is far above the heartbeat, so only a pump that waits for an
// event that never comes can miss it. Its CPU use is measured by bench_idle_pump.
TEST_F(Pump, ReturnsWhenNothingHappens) {
  qint64 longest = 0;
  for (int i = 0; i < 30; ++i) {
    QElapsedTimer t;
    t.start();
    runtime.ProcessSystemEvents();
    longest = std::max(longest, t.elapsed());
  }
  EXPECT_LT(longest, 1000);
}

// A loop that waits for the first byte of an answer sleeps through the quiet line in one wait,
// and the byte, or any other event, ends it. Bounds only: the wait is long, the event early.
TEST_F(Pump, ALongerWaitLastsUntilItsTimeOrTheFirstEvent) {
  // Events left over from the start end a wait early: one of a few waits is a quiet one.
  qint64 longest = 0;
  for (int i = 0; i < 5; ++i) {
    QElapsedTimer t;
    t.start();
    runtime.WaitForEvents(0.04);
    longest = std::max(longest, t.elapsed());
  }
  EXPECT_GE(longest, 30);
  EXPECT_LT(longest, 1000);

  bool fired = false;
  QTimer::singleShot(5, [&] { fired = true; });
  QElapsedTimer t;
  t.start();
  runtime.WaitForEvents(5.0);
  EXPECT_TRUE(fired);
  EXPECT_LT(t.elapsed(), 1000);
}

TEST_F(Pump, RunUserInterfaceReturnsTheQuitCode) {
  QTimer::singleShot(20, [&] { runtime.QuitUserInterface(7); });
  EXPECT_EQ(runtime.RunUserInterface(), 7);
  EXPECT_TRUE(runtime.quitRequested());
}

TEST_F(Pump, DelayWaitsWithoutPumpingAndThePumpRunsAPostedTimer) {
  bool fired = false;
  QTimer::singleShot(0, [&] { fired = true; });
  const double before = runtime.Timer();
  runtime.Delay(0.03);
  EXPECT_FALSE(fired);
  EXPECT_GE(runtime.Timer() - before, 0.03);
  runtime.ProcessSystemEvents();
  EXPECT_TRUE(fired);
}

TEST_F(Pump, SerialNotificationRunsOnlyInsideThePump) {
  runtime.serial().setOpener(
      [](const serial::PortEntry&, const serial::OpenSettings&, serial::OpenError&) {
        return std::unique_ptr<serial::SerialDevice>(std::make_unique<FullLine>());
      });
  int port = runtime.serial().addPort("full", "full");
  ASSERT_EQ(runtime.serial().OpenComConfig(port, "", 19200, 0, 8, 1, 512, 512), 0);
  int notified = 0;
  runtime.serial().InstallComCallback(
      port, serial::LWRS_RECEIVE, 4, 0, [&](int, int, void*) { ++notified; }, nullptr);
  runtime.Delay(0.01);
  EXPECT_EQ(notified, 0);
  runtime.ProcessSystemEvents();
  EXPECT_EQ(notified, 1);
}

TEST_F(Pump, ConfirmPopupAnswersYesAsOneAndNoAsZero) {
  for (auto [button, expected] : {std::pair{QMessageBox::Yes, 1}, std::pair{QMessageBox::No, 0}}) {
    ModalWatcher user([button = button](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      box->button(button)->click();
    });
    EXPECT_EQ(runtime.ConfirmPopup("Save", "Overwrite?"), expected);
  }
}

// An existing name is taken without the dialog asking about overwriting itself (the program
// asks); a new name gets the filter's extension; a cancel reports nothing. The accept button
// reads as the program asks.
TEST_F(Pump, FileDialogReportsExistingAndNewNamesAndCancelReportsNothing) {
  constexpr FileDialogMode Save = FileDialogMode::Save;
  QTemporaryDir dir;
  QFile(dir.filePath("old.cfg")).open(QIODevice::WriteOnly);
  struct Case {
    QString typed;  // empty: cancel
    FileDialogMode mode;
    FileDialogButton button;
    int status;
    QString path;
  };
  const Case cases[] = {
      {dir.filePath("old.cfg"), Save, FileDialogButton::Save, VAL_EXISTING_FILE_SELECTED,
       dir.filePath("old.cfg")},
      {dir.filePath("fresh"), Save, FileDialogButton::Ok, VAL_NEW_FILE_SELECTED,
       dir.filePath("fresh.cfg")},
      {"", FileDialogMode::Load, FileDialogButton::Load, VAL_NO_FILE_SELECTED, ""}};
  for (const Case& c : cases) {
    bool askedTwice = false;
    QString acceptLabel;
    QPointer<QFileDialog> dialog;
    std::optional<ModalWatcher> question;  // an overwrite question would be a second modal
    ModalWatcher user([&](QWidget* modal) {
      dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      acceptLabel = dialog->labelText(QFileDialog::Accept);
      question.emplace([&](QWidget* next) {
        askedTwice = next != dialog;
        if (!askedTwice) {
          return;
        }
        static_cast<QDialog*>(next)->reject();
        QTimer::singleShot(0, dialog, &QDialog::reject);
      });
      if (c.typed.isEmpty()) {
        return static_cast<QDialog*>(dialog)->reject();
      }
      typeFileName(dialog, c.typed);
      static_cast<QDialog*>(dialog)->accept();
    });
    FileSelection chosen = runtime.FileSelectPopup(dir.path().toStdString(), "new.cfg", "*.cfg",
                                                   "Save", c.mode, c.button);
    EXPECT_EQ(chosen.status, c.status) << c.typed.toStdString();
    EXPECT_EQ(chosen.path, c.path.toStdString());
    EXPECT_FALSE(askedTwice) << c.typed.toStdString();
    EXPECT_EQ(acceptLabel.toStdString(), labelOf(c.button));
  }
}

}  // namespace
}  // namespace qrix::test
