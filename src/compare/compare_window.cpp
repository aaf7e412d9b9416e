#include "compare/compare_window.h"

#include <optional>
#include <string>
#include <vector>

#include "compare/compare_table.h"
#include "params/get_send.h"
#include "params/param_file.h"
#include "params/param_file_check.h"
#include "program/line_owner.h"
#include "program/program.h"

namespace qrix {

namespace {

namespace c = ids::compare;

void tell(Program& p, const std::string& text, bool failed) {
  p.tell(p.st.pCompare, c::TEXTCompareState, text, failed);
}

std::string differences(std::size_t count) {
  if (count == 0) {
    return "No field differs.";
  }
  return std::to_string(count) + (count == 1 ? " field differs" : " fields differ") +
         " (marked *).";
}

// Reads RAM and EEPROM with the line held alone and the window's own buttons dimmed; nothing
// when a frame was not answered.
std::optional<std::vector<CompareColumn>> readMemories(Program& p) {
  ExclusiveLineClaim claim(p, LineUser::Compare);
  ui::UiModel& ui = p.ui();
  const int window = p.st.pCompare;
  // The reads show their progress and their time-out in the status line; it gets back what it
  // held, since the compare changes nothing of the main window.
  const std::string shown = ui.GetCtrlText(p.st.pHandle, ids::main::TEXTStatus);
  const std::string status = p.st.szStatus;
  for (int button : {c::BTNCompareRead, c::BTNCompareFile}) {
    ui.SetDimmed(window, button, true);
  }
  tell(p, "Reading RAM and EEPROM ...", false);
  std::vector<CompareColumn> columns;
  for (const auto& [target, title] : {std::pair{kTargetRam, "RAM"}, {kTargetEeprom, "EEPROM"}}) {
    const std::optional<ParaFileWords> words =
        readParameterWords(p, static_cast<std::uint16_t>(target));
    if (!words) {
      break;
    }
    columns.push_back({title, *words});
  }
  for (int button : {c::BTNCompareRead, c::BTNCompareFile}) {
    ui.SetDimmed(window, button, false);
  }
  p.st.szStatus = status;
  p.showStatusText(shown);
  if (columns.size() < 2) {
    return std::nullopt;
  }
  return columns;
}

// The line is another loop's: its exchanges would stall behind a read or a file dialog. Pressed
// again while its own read runs (a key repeat, a screen reader), the window just goes on.
bool refused(Program& p) {
  if (p.st.lineUser == LineUser::Compare) {
    return true;
  }
  if (!loopHoldsLine(p)) {
    return false;
  }
  tell(p, "Not read: stop RUN, VIDEO, DATA, the recording or the flash transfer first.", true);
  return true;
}

void showTable(Program& p, const std::string& text, std::vector<int> marks) {
  p.ui().ResetTextBox(p.st.pCompare, c::TEXTCompare, text);
  p.ui().SetTextBoxMarks(p.st.pCompare, c::TEXTCompare, std::move(marks));
}

// A read that did not complete leaves no table: an earlier one would pass for its outcome.
void notRead(Program& p, const std::string& why) {
  showTable(p, "", {});
  tell(p, "Not read: " + why, true);
}

void readAndShow(Program& p) {
  if (refused(p)) {
    return;
  }
  // A file that cannot be read stops the compare before the line is used, and is no longer the
  // file compared: Read then compares the memories alone.
  const std::string file = p.ui().GetCtrlText(p.st.pCompare, c::TEXTCompareFile);
  std::optional<ParaFileWords> fileWords;
  if (!file.empty() && !(fileWords = parseParaFile(file))) {
    p.ui().SetCtrlText(p.st.pCompare, c::TEXTCompareFile, "");
    notRead(p, file + " is not a parameter file.");
    return;
  }
  // Without a port every frame would wait out its time-out.
  if (!p.serial().isOpen(p.st.com)) {
    notRead(p, "no port open.");
    return;
  }
  std::optional<std::vector<CompareColumn>> columns = readMemories(p);
  if (!columns) {
    notRead(p, "the sensor did not answer every frame.");
    return;
  }
  if (fileWords) {
    columns->push_back({"FILE", *fileWords});
  }
  CompareTable table = compareTable(*columns);
  showTable(p, table.text, table.differingLines);
  // The file's column holds its words as the window's GET takes them; where that is not what
  // the file says (a number above 65535 kept to 16 bits, a field the panels would limit), the
  // user hears which.
  std::string state = differences(table.differingLines.size());
  if (fileWords) {
    if (const std::string note = checkParaFileStrictly(file, p.st.ccdvirtpixel); !note.empty()) {
      state += " Note: " + note;
    }
  }
  tell(p, state, false);
}

}  // namespace

int CC_BTNCompare(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  p.showWindow(p.st.pCompare);
  readAndShow(p);
  return 0;
}

int CC_COMPARE(Program& p, int, int event) {
  if (event != ui::EVENT_CLOSE) {
    return 0;
  }
  p.hideWindow(p.st.pCompare);
  return 0;
}

int CC_BTNCompareRead(Program& p, int, int, int event) {
  if (event == ui::EVENT_COMMIT) {
    readAndShow(p);
  }
  return 0;
}

int CC_BTNCompareFile(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || refused(p)) {
    return 0;
  }
  const FileSelection choice = p.selectFile("QRIXpara.cfg", "*.cfg", "Parameter file to compare",
                                            FileDialogMode::Load, FileDialogButton::Load);
  if (choice.status == VAL_NO_FILE_SELECTED) {
    return 0;
  }
  p.ui().SetCtrlText(p.st.pCompare, c::TEXTCompareFile, choice.path);
  readAndShow(p);
  return 0;
}

}  // namespace qrix
