#pragma once
// The runtime of the command line: the ui model without a view, the wall clock, and Qt's event
// loop for real serial ports. It needs a QCoreApplication, no display. Dialogs are answered
// from the command line: a file dialog takes the file named there, a question is answered yes
// (the user named the file on purpose).

#include <deque>
#include <functional>

#include "runtime/qt/event_loop_runtime.h"

namespace qrix::cli {

class CliRuntime : public qt::EventLoopRuntime {
 public:
  // The pump waits for events at most this long, as the window's does.
  using EventLoopRuntime::kHeartbeatMs;

  explicit CliRuntime(ui::UiModel::PanelSource panels);

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

  // The answer of the next file dialog; an unanswered dialog is cancelled.
  void answerFileDialog(std::string path) { fileAnswers_.push_back(std::move(path)); }

 private:
  // Hands a signal that asked the program to end to the interrupt handler, once.
  void afterEvents() override;

  std::deque<std::string> fileAnswers_;
  std::function<void(int)> onInterrupt_;
  bool interruptHandled_ = false;
};

}  // namespace qrix::cli
