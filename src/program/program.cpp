#include "program/program.h"

namespace qrix {

void Program::showText(std::string_view text) {
  ui().SetCtrlText(st.pHandle, ids::main::TEXTStatus, text);
}

void Program::setStatus(std::string_view text) {
  // The status buffer holds 71 characters and its terminator.
  st.szStatus = std::string(text.substr(0, kStatusChars - 1));
}

void Program::showWindow(int panel) {
  ui().DisplayPanel(panel);
  // The model's active panel does not follow the user's clicks: change it, so that the view
  // raises the window even when it was the active one and lies behind the main window now.
  ui().SetActivePanel(st.pHandle);
  ui().SetActivePanel(panel);
}

void Program::hideWindow(int panel) {
  ui().HidePanel(panel);
  ui().SetActivePanel(st.pHandle);
}

std::optional<std::string> Program::chooseFileToWrite(const std::string& defaultName,
                                                      const std::string& filter,
                                                      const std::string& title) {
  const FileSelection choice = rt.FileSelectPopup(st.proj_dir, defaultName, filter, title,
                                                  FileDialogMode::Save, FileDialogButton::Save);
  if (choice.status == VAL_NO_FILE_SELECTED) return std::nullopt;
  if (choice.status == VAL_EXISTING_FILE_SELECTED &&
      rt.ConfirmPopup("ATTENTION!", "Output-File already exist! - Overwrite ?") != 1)
    return std::nullopt;
  return choice.path;
}

void Program::tell(int panel, int control, std::string_view text, bool failed) {
  ui().SetTextColour(panel, control, failed ? ui::kRed : ui::kBlack);
  ui().SetCtrlText(panel, control, text);
}

void Program::logLine(std::string text) {
  st.health.log(rt.CalendarTime(), rt.Timer(), std::move(text));
}

void Program::recordExchange(link::ExchangeKind kind, link::Outcome outcome) {
  st.health.record(kind, outcome);
  if (outcome != link::Outcome::Answered && outcome != link::Outcome::NotAwaited)
    logLine(std::string(link::nameOf(kind)) + ": " + link::nameOf(outcome));
  linkHealthChanged();
}

void Program::linkHealthChanged() {
  if (onLinkHealthChanged) onLinkHealthChanged();
}

void Program::setMainVisible(std::initializer_list<int> controls, bool visible) {
  for (int c : controls) ui().SetVisible(st.pHandle, c, visible);
}

void Program::setMainDimmed(std::initializer_list<int> controls, bool dimmed) {
  for (int c : controls) ui().SetDimmed(st.pHandle, c, dimmed);
}

}  // namespace qrix
