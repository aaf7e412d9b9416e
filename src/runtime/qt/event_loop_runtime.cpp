#include "runtime/qt/event_loop_runtime.h"

#include <QCoreApplication>
#include <chrono>
#include <cmath>
#include <stdexcept>
#include <thread>

namespace qrix::qt {

EventLoopRuntime::EventLoopRuntime(ui::UiModel::PanelSource panels) : Runtime(std::move(panels)) {
  if (!QCoreApplication::instance()) {
    throw std::logic_error("the runtime needs a QCoreApplication");
  }
  heartbeat_.setSingleShot(true);
  heartbeat_.setTimerType(Qt::PreciseTimer);
  clock_.start();
}

void EventLoopRuntime::ProcessSystemEvents() {
  // Waits for the next event, the heartbeat at the latest: no spinning, and never stuck.
  WaitForEvents(kHeartbeatMs / 1000.0);
}

void EventLoopRuntime::WaitForEvents(double seconds) {
  heartbeat_.start(heartbeatMs(seconds));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  serial_.dispatchNotifications();
  afterEvents();
}

int EventLoopRuntime::RunUserInterface() {
  quit_ = false;
  while (!quit_) {
    ProcessSystemEvents();
  }
  return quitCode_;
}

void EventLoopRuntime::QuitUserInterface(int code) {
  quit_ = true;
  quitCode_ = code;
}

double EventLoopRuntime::Timer() {
  return static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
}

void EventLoopRuntime::Delay(double seconds) {
  if (!(seconds > 0) || !std::isfinite(seconds)) {
    return;
  }
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace qrix::qt
