#pragma once
// The runtime without a view: the same ui model, a virtual clock that the event pump moves to
// the next scheduled event, and dialogs whose answers a test scripts in advance.
// Ten seconds of protocol time run in milliseconds.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace qrix {

class HeadlessRuntime : public Runtime {
 public:
  // How far one pump moves the clock when nothing is scheduled sooner.
  static constexpr double kHeartbeat = 0.001;

  explicit HeadlessRuntime(ui::UiModel::PanelSource panels, std::string programDir = ".");

  void ProcessSystemEvents() override;
  void WaitForEvents(double seconds) override;
  // How many times the pump ran, waits included.
  long pumps() const { return pumps_; }
  int RunUserInterface() override;
  void QuitUserInterface(int code) override;
  bool quitRequested() const override { return quit_; }
  double Timer() override { return now_; }
  void Delay(double seconds) override;
  // The wall clock, unless a test fixed the calendar time.
  std::time_t CalendarTime() override { return calendar_ ? *calendar_ : std::time(nullptr); }
  void setCalendarTime(std::time_t when) { calendar_ = when; }
  int ConfirmPopup(const std::string& title, const std::string& message) override;
  FileSelection FileSelectPopup(const std::string& directory, const std::string& defaultName,
                                const std::string& filter, const std::string& title,
                                FileDialogMode mode, FileDialogButton button) override;
  std::string programDirectory() const override { return programDir_; }
  // Kept here for a test to read; a test may make the clipboard refuse, as a busy one can.
  bool ClipboardPutText(const std::string& text) override;
  const std::string& clipboardText() const { return clipboard_; }
  void refuseClipboard(bool refuse) { clipboardRefused_ = refuse; }

  // Runs an action (a user's click, say) inside the pump once the clock reaches `time`.
  void at(double time, std::function<void()> action);
  // Runs an action inside the next pump.
  void post(std::function<void()> action) { at(now_, std::move(action)); }
  // Pumps until the clock has reached `time`.
  void runUntil(double time);

  // Scripted dialog answers, taken in order; an unscripted dialog answers no / cancel.
  void answerConfirm(int answer) { confirmAnswers_.push_back(answer); }
  void answerFileDialog(FileSelection selection) { fileAnswers_.push_back(std::move(selection)); }
  struct DialogRecord {
    std::string kind, title, text, directory, defaultName, filter, button;
  };
  const std::vector<DialogRecord>& dialogs() const { return dialogs_; }
  // A RunUserInterface with nothing left to do would otherwise wait forever.
  void setIdleLimit(double seconds) { idleLimit_ = seconds; }

 private:
  std::string programDir_;
  double now_ = 0;
  long pumps_ = 0;
  bool quit_ = false;
  int quitCode_ = 0;
  double idleLimit_ = 60;
  std::optional<std::time_t> calendar_;
  std::multimap<double, std::function<void()>> actions_;
  std::deque<int> confirmAnswers_;
  std::deque<FileSelection> fileAnswers_;
  std::vector<DialogRecord> dialogs_;
  std::string clipboard_;
  bool clipboardRefused_ = false;
};

}  // namespace qrix
