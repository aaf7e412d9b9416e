#include "cli/cli_runtime.h"

#include <QCoreApplication>
#include <chrono>
#include <cmath>
#include <stdexcept>
#include <thread>

#include "cli/interrupts.h"
#include "runtime/files.h"

namespace qrix::cli {

CliRuntime::CliRuntime(ui::UiModel::PanelSource panels) : Runtime(std::move(panels)) {
  if (!QCoreApplication::instance()) throw std::logic_error("CliRuntime needs a QCoreApplication");
  heartbeat_.setSingleShot(true);
  heartbeat_.setTimerType(Qt::PreciseTimer);
  clock_.start();
}

void CliRuntime::ProcessSystemEvents() {
  WaitForEvents(kHeartbeatMs / 1000.0);
}

void CliRuntime::WaitForEvents(double seconds) {
  heartbeat_.start(heartbeatMs(seconds));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  serial_.dispatchNotifications();
  if (const int signal = pendingInterrupt(); signal != 0 && !interruptHandled_ && onInterrupt_) {
    interruptHandled_ = true;
    onInterrupt_(signal);
  }
}

bool CliRuntime::quitRequested() const {
  return quit_ || pendingInterrupt() != 0;
}

int CliRuntime::RunUserInterface() {
  quit_ = false;
  while (!quit_) ProcessSystemEvents();
  return quitCode_;
}

void CliRuntime::QuitUserInterface(int code) {
  quit_ = true;
  quitCode_ = code;
}

double CliRuntime::Timer() {
  return static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
}

void CliRuntime::Delay(double seconds) {
  if (!(seconds > 0) || !std::isfinite(seconds)) return;
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

int CliRuntime::ConfirmPopup(const std::string&, const std::string&) {
  return 1;
}

FileSelection CliRuntime::FileSelectPopup(const std::string&, const std::string&,
                                          const std::string&, const std::string&, FileDialogMode,
                                          FileDialogButton) {
  if (fileAnswers_.empty()) return {};
  std::string path = std::move(fileAnswers_.front());
  fileAnswers_.pop_front();
  const int status = files::FileExists(path) ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
  return {status, std::move(path)};
}

std::string CliRuntime::programDirectory() const {
  return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace qrix::cli
