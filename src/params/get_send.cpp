#include "params/get_send.h"

#include "params/file_target.h"
#include "params/panel_binding.h"
#include "params/param_file.h"
#include "params/parameter_fields.h"
#include "plots/tolerance_window.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "qrix/link/commands.h"
#include "services/parameter_exchange.h"

namespace qrix {

void showRecordInPanels(Program& p) {
  ProgramState& st = p.st;
  SetPanelValues(p);
  const auto mode =
      static_cast<std::uint16_t>(p.ui().GetCtrlVal(st.pPara0, ids::para0::DropEvalMode));
  PlotTOLWindow(p, mode, st.parameter.master.teach, st.parameter.slave.teach);
}

bool PushGET(Program& p, std::uint16_t target, std::uint16_t frame, StoreAnswer store) {
  bool answered = true;
  if (target != kTargetFile) {
    answered = readParameterFrame(p, target, frame, store);
  } else {
    p.showStoredStatus();
  }
  if (frame == 2) {
    showRecordInPanels(p);
  }
  return answered;
}

int CC_BTNSend(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || loopShutsOutExchanges(p)) {
    return 0;
  }
  ProgramState& st = p.st;
  p.showStatusText("Transmit...");
  if (st.target == kTargetFile) {
    SaveParaFile(p);
    return 0;
  }
  GetPanelValues(p);
  writeParameterRecord(p, static_cast<std::uint16_t>(st.target));
  return 0;
}

int CC_BTNGet(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || loopShutsOutExchanges(p)) {
    return 0;
  }
  ProgramState& st = p.st;
  // A cancelled or unreadable file changes nothing at all: unsaved panel edits survive.
  if (st.target == kTargetFile && ReadParaFromFile(p) != kParaFileLoaded) {
    return 0;
  }
  if (st.target == kTargetRam) {
    st.parameter.cmd = cmd::kReadRam;
  }
  if (st.target == kTargetEeprom) {
    st.parameter.cmd = cmd::kReadEeprom;
  }
  // A stored file is taken as it always was, with the panels' limits; the user hears which
  // fields they changed.
  std::vector<LimitedField> limited;
  if (st.target == kTargetFile) {
    ParaFileWords words = recordToWords(st.parameter);
    limited = limitFields(words, st.ccdvirtpixel);
  }
  readParameterFrames(p, static_cast<std::uint16_t>(st.target));
  if (!limited.empty()) {
    p.storeStatusText(describeLimited(limited));
    p.showStoredStatus();
  }
  return 0;
}

bool readParameterFrames(Program& p, std::uint16_t target) {
  bool allStored = true;
  if (target == kTargetFile) {
    // The file is in the record already; the three frames only pace the status line.
    for (int frame = 0; frame < 3; ++frame) {
      p.showStoredStatus();
      p.rt.Delay(0.1);
    }
  } else {
    allStored = readParameterRecord(p, target, PauseAfter::Yes);
  }
  showRecordInPanels(p);
  return allStored;
}

namespace {
// A button switched on sets its target; one switched off falls back to RAM.
int radioChanged(Program& p, int control, int event, int target) {
  if (event != ui::EVENT_VAL_CHANGED) {
    return 0;
  }
  const bool on = p.ui().GetCtrlVal(p.st.pHandle, control) != 0;
  setMemoryTarget(p, on ? target : kTargetRam);
  return 0;
}
}  // namespace

int CC_RBTRam(Program& p, int, int control, int event) {
  return radioChanged(p, control, event, kTargetRam);
}
int CC_RBTEeprom(Program& p, int, int control, int event) {
  return radioChanged(p, control, event, kTargetEeprom);
}
int CC_RBTFile(Program& p, int, int control, int event) {
  return radioChanged(p, control, event, kTargetFile);
}

}  // namespace qrix
