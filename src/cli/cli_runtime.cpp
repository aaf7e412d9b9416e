#include "cli/cli_runtime.h"

#include <QCoreApplication>

#include "cli/interrupts.h"
#include "runtime/files.h"

namespace qrix::cli {

CliRuntime::CliRuntime(ui::UiModel::PanelSource panels) : EventLoopRuntime(std::move(panels)) {}

void CliRuntime::afterEvents() {
  if (const int signal = pendingInterrupt(); signal != 0 && !interruptHandled_ && onInterrupt_) {
    interruptHandled_ = true;
    onInterrupt_(signal);
  }
}

bool CliRuntime::quitRequested() const {
  return EventLoopRuntime::quitRequested() || pendingInterrupt() != 0;
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
