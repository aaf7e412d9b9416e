#include "program/program.h"

#include <algorithm>
#include <cctype>

#include "runtime/files.h"

namespace qrix {

void Program::showStatusText(std::string_view text) {
  if (hasWindow()) {
    ui().SetCtrlText(st.pHandle, ids::main::TEXTStatus, text);
  }
  if (onStatusShown) {
    onStatusShown(text);
  }
}

void Program::storeStatusText(std::string_view text) {
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

FileSelection Program::selectFile(const std::string& defaultName, const std::string& filter,
                                  const std::string& title, FileDialogMode mode,
                                  FileDialogButton button) {
  FileSelection choice = rt.FileSelectPopup(st.proj_dir, defaultName, filter, title, mode, button);
  if (choice.status != VAL_NO_FILE_SELECTED) {
    const std::string folder = files::pathOf(choice.path).parent_path().string();
    if (!folder.empty()) {
      st.proj_dir = folder;
    }
  }
  return choice;
}

namespace {

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

std::optional<std::string> Program::chooseFileToWrite(const std::string& defaultName,
                                                      const std::string& filter,
                                                      const std::string& title,
                                                      std::string* refusal) {
  FileSelection choice =
      selectFile(defaultName, filter, title, FileDialogMode::Save, FileDialogButton::Save);
  if (choice.status == VAL_NO_FILE_SELECTED) {
    return std::nullopt;
  }
  std::string path = choice.path;
  const std::string name = files::pathOf(path).filename().string();
  const std::string extension = filter.starts_with("*.") ? filter.substr(1) : "";
  const std::string stem = lowerCase(name).ends_with(lowerCase(extension))
                               ? name.substr(0, name.size() - extension.size())
                               : name;
  if (stem.find_first_not_of(" \t") == std::string::npos) {
    if (refusal) {
      *refusal = "a file name of spaces only";
    }
    return std::nullopt;
  }
  // "graph.svg" chosen for a PNG would hold a PNG under the wrong name. (A name without any
  // extension is taken as it is; the file dialog adds the filter's where the system does.)
  const bool otherExtension =
      name.find('.', 1) != std::string::npos && !lowerCase(name).ends_with(lowerCase(extension));
  if (!extension.empty() && otherExtension) {
    path += extension;
    choice.status = files::FileExists(path) ? VAL_EXISTING_FILE_SELECTED : VAL_NEW_FILE_SELECTED;
  }
  if (choice.status == VAL_EXISTING_FILE_SELECTED &&
      rt.ConfirmPopup("ATTENTION!", "Output-File already exist! - Overwrite ?") != 1) {
    return std::nullopt;
  }
  return path;
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
  if (outcome != link::Outcome::Answered && outcome != link::Outcome::NotAwaited) {
    logLine(std::string(link::nameOf(kind)) + ": " + link::nameOf(outcome));
  }
  linkHealthChanged();
}

void Program::linkHealthChanged() {
  if (onLinkHealthChanged) {
    onLinkHealthChanged();
  }
}

void Program::setMainVisible(std::initializer_list<int> controls, bool visible) {
  for (int c : controls) {
    ui().SetVisible(st.pHandle, c, visible);
  }
}

void Program::setMainDimmed(std::initializer_list<int> controls, bool dimmed) {
  for (int c : controls) {
    ui().SetDimmed(st.pHandle, c, dimmed);
  }
}

}  // namespace qrix
