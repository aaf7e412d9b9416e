#include "cli/cli_runtime.h"

#include <QCoreApplication>

#include "cli/interrupts.h"

namespace qrix::cli {

CliRuntime::CliRuntime()
    : EventLoopRuntime([](int) { return std::optional<ui::PanelTemplate>{}; }) {}

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
  return 0;
}

FileSelection CliRuntime::FileSelectPopup(const std::string&, const std::string&,
                                          const std::string&, const std::string&, FileDialogMode,
                                          FileDialogButton) {
  return {};
}

std::string CliRuntime::programDirectory() const {
  return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace qrix::cli
