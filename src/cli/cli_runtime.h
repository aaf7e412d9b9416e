#pragma once
// The runtime of the command line: the wall clock and Qt's event loop for real serial ports. It
// needs a QCoreApplication, no display. It holds no panel: the command line runs services,
// which draw nothing and ask nothing, so a dialog is refused (cancelled, answered no).

#include <functional>

#include "runtime/qt/event_loop_runtime.h"

namespace qrix::cli {

class CliRuntime : public qt::EventLoopRuntime {
 public:
  // The pump waits for events at most this long, as the window's does.
  using EventLoopRuntime::kHeartbeatMs;

  CliRuntime();

  // Also once a signal asked the program to end (see interrupts.h): a flash transfer then stops
  // after the frame in flight.
  bool quitRequested() const override;
  int ConfirmPopup(const std::string& title, const std::string& message) override;
  FileSelection FileSelectPopup(const std::string& directory, const std::string& defaultName,
                                const std::string& filter, const std::string& title,
                                FileDialogMode mode, FileDialogButton button) override;
  bool ClipboardPutText(const std::string&) override { return false; }
  std::string programDirectory() const override;

  // Called once, from the pump, when a signal asked the program to end.
  void onInterrupt(std::function<void(int signal)> handler) { onInterrupt_ = std::move(handler); }

 private:
  // Hands a signal that asked the program to end to the interrupt handler, once.
  void afterEvents() override;

  std::function<void(int)> onInterrupt_;
  bool interruptHandled_ = false;
};

}  // namespace qrix::cli
