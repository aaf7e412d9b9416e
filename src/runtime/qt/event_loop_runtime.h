#pragma once
// The runtime's pump on Qt's event loop, shared by the window and the command line: a
// heartbeat so that a wait always ends, the wall clock, sleeps and the quit flag. It needs a
// QCoreApplication and nothing of the widgets.

#include <QElapsedTimer>
#include <QTimer>

#include "runtime/runtime.h"

namespace qrix::qt {

class EventLoopRuntime : public Runtime {
 public:
  // The pump waits for events at most this long, so a loop deciding a time-out by the clock
  // always gets to look at it again.
  static constexpr int kHeartbeatMs = 4;

  explicit EventLoopRuntime(ui::UiModel::PanelSource panels);

  void ProcessSystemEvents() override;
  void WaitForEvents(double seconds) override;
  int RunUserInterface() override;
  void QuitUserInterface(int code) override;
  bool quitRequested() const override { return quit_; }
  double Timer() override;
  void Delay(double seconds) override;

 protected:
  // Runs after each wait, once the serial notifications are out.
  virtual void afterEvents() {}

 private:
  QTimer heartbeat_;
  QElapsedTimer clock_;
  bool quit_ = false;
  int quitCode_ = 0;
};

}  // namespace qrix::qt
