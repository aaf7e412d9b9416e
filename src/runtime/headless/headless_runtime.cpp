#include "runtime/headless/headless_runtime.h"

#include <algorithm>

namespace qrix {

HeadlessRuntime::HeadlessRuntime(ui::UiModel::PanelSource panels, std::string programDir)
    : Runtime(std::move(panels)), programDir_(std::move(programDir)) {}

void HeadlessRuntime::ProcessSystemEvents() {
  WaitForEvents(kHeartbeat);
}

void HeadlessRuntime::WaitForEvents(double seconds) {
  ++pumps_;
  // Move the clock to whatever happens next, but never further than the wait (one heartbeat
  // for a plain pump), so that loops deciding a time-out by the clock see it pass in steps.
  double next = now_ + std::max(0.0, seconds);
  if (!actions_.empty()) {
    next = std::min(next, actions_.begin()->first);
  }
  if (std::optional<double> byte = serial_.nextArrival(); byte && *byte > now_) {
    next = std::min(next, *byte);
  }
  now_ = std::max(now_, next);

  // User actions due by now, in time order; an action may run a loop that pumps again.
  while (!actions_.empty() && actions_.begin()->first <= now_) {
    auto action = std::move(actions_.begin()->second);
    actions_.erase(actions_.begin());
    action();
  }
  serial_.dispatchNotifications();
}

int HeadlessRuntime::RunUserInterface() {
  quit_ = false;
  const double start = now_;
  while (!quit_ && now_ - start < idleLimit_) {
    ProcessSystemEvents();
  }
  return quitCode_;
}

void HeadlessRuntime::QuitUserInterface(int code) {
  quit_ = true;
  quitCode_ = code;
}

void HeadlessRuntime::Delay(double seconds) {
  if (seconds > 0) {
    now_ += seconds;
  }
}

int HeadlessRuntime::ConfirmPopup(const std::string& title, const std::string& message) {
  dialogs_.push_back({"confirm", title, message, {}, {}, {}, {}});
  if (confirmAnswers_.empty()) {
    return 0;
  }
  int answer = confirmAnswers_.front();
  confirmAnswers_.pop_front();
  return answer;
}

FileSelection HeadlessRuntime::FileSelectPopup(const std::string& directory,
                                               const std::string& defaultName,
                                               const std::string& filter, const std::string& title,
                                               FileDialogMode mode, FileDialogButton button) {
  dialogs_.push_back({mode == FileDialogMode::Save ? "save" : "load",
                      title,
                      {},
                      directory,
                      defaultName,
                      filter,
                      labelOf(button)});
  if (fileAnswers_.empty()) {
    return {};
  }
  FileSelection answer = std::move(fileAnswers_.front());
  fileAnswers_.pop_front();
  return answer;
}

bool HeadlessRuntime::ClipboardPutText(const std::string& text) {
  if (clipboardRefused_) {
    return false;
  }
  clipboard_ = text;
  return true;
}

void HeadlessRuntime::at(double time, std::function<void()> action) {
  actions_.emplace(time, std::move(action));
}

void HeadlessRuntime::runUntil(double time) {
  while (now_ < time) {
    ProcessSystemEvents();
  }
}

}  // namespace qrix
