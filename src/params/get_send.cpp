#include "params/get_send.h"

#include "params/panel_binding.h"
#include "params/param_file.h"
#include "params/parameter_fields.h"
#include "plots/tolerance_window.h"
#include "program/frame_codec.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"

namespace qrix {

namespace {

// One parameter-frame request to RAM or EEPROM and the wait for its answer.
Reply requestParameterFrame(Program& p, std::uint16_t target, std::uint16_t frame) {
  ProgramState& st = p.st;
  st.parameter.cmd = target == kTargetEeprom ? cmd::kReadEeprom : cmd::kReadRam;
  // The request carries the frame's current program values.
  CopyVarsToPP(st.parameter, frame, st.pp);
  st.exchangeKind = link::ExchangeKind::ParameterRead;
  if (sendRequest(p, Discard::InputFirst, st.parameter.cmd, frame, st.pp) == kFrameBytes)
    p.showStatusText("Waiting for parameter-frame ...");
  // Only the answer to this request is a parameter frame: never a RUN answer still in flight,
  // nor a frame out of step with the line.
  return awaitFrame(p, link::ExchangeKind::ParameterRead, st.parameter.cmd, Accept::OwnEcho);
}

}  // namespace

bool PushGET(Program& p, std::uint16_t target, std::uint16_t frame, StoreAnswer store) {
  ProgramState& st = p.st;
  bool answered = true;
  if (target != kTargetFile) {
    const Reply reply = requestParameterFrame(p, target, frame);
    answered = reply.answered();
    if (!answered) {
      p.storeStatusText("Timeout-RS-232...");
    } else if (store == StoreAnswer::Yes) {
      CopyPPtoVars(reply.words(), frame, st.parameter);
      p.storeStatusText("Parameter-frame received! - Line Ok!");
    }
  }
  p.showStoredStatus();
  if (frame == 2) {
    SetPanelValues(p);
    const auto mode =
        static_cast<std::uint16_t>(p.ui().GetCtrlVal(st.pPara0, ids::para0::DropEvalMode));
    PlotTOLWindow(p, mode, st.parameter.master.teach, st.parameter.slave.teach);
  }
  return answered;
}

int CC_BTNSend(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || loopShutsOutExchanges(p)) return 0;
  ProgramState& st = p.st;
  p.showStatusText("Transmit...");
  if (st.target == kTargetFile) {
    SaveParaFile(p);
    return 0;
  }
  st.parameter.sync = cmd::kTxSync;
  st.parameter.cmd = st.target == kTargetEeprom ? cmd::kWriteEeprom : cmd::kWriteRam;
  GetPanelValues(p);
  static constexpr const char* kSentText[3] = {"Sending Para-Frame 0 ...",
                                               "Sending Para-Frame 1 ...", "Line Ok!"};
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    st.parameter.arg = frame;
    CopyVarsToPP(st.parameter, frame, st.pp);
    st.exchangeKind = link::ExchangeKind::ParameterWrite;
    sendRequest(p, Discard::InputFirst, st.parameter.cmd, frame, st.pp);
    p.recordExchange(link::ExchangeKind::ParameterWrite, link::Outcome::NotAwaited);
    p.pump();
    if (st.nBytesW == kFrameBytes) p.showStatusText(kSentText[frame]);
    if (frame < 2) p.rt.Delay(0.1);
  }
  return 0;
}

int CC_BTNGet(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || loopShutsOutExchanges(p)) return 0;
  ProgramState& st = p.st;
  // A cancelled or unreadable file changes nothing at all: unsaved panel edits survive.
  if (st.target == kTargetFile && ReadParaFromFile(p) != kParaFileLoaded) return 0;
  if (st.target == kTargetRam) st.parameter.cmd = cmd::kReadRam;
  if (st.target == kTargetEeprom) st.parameter.cmd = cmd::kReadEeprom;
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
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    allStored &= PushGET(p, target, frame, allStored ? StoreAnswer::Yes : StoreAnswer::No);
    p.rt.Delay(0.1);
  }
  // A frame that timed out must not be hidden behind the success text of a later one.
  if (!allStored) {
    p.storeStatusText("Timeout-RS-232...");
    p.showStoredStatus();
  }
  return allStored;
}

std::optional<ParaFileWords> readParameterWords(Program& p, std::uint16_t target) {
  // Decoded into a copy: the record and the panels keep what they hold.
  ParameterRecord read = p.st.parameter;
  bool allAnswered = true;
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    const Reply reply = requestParameterFrame(p, target, frame);
    if (allAnswered && reply.answered()) CopyPPtoVars(reply.words(), frame, read);
    allAnswered &= reply.answered();
    p.rt.Delay(0.1);
  }
  if (!allAnswered) {
    p.storeStatusText("Timeout-RS-232...");
    return std::nullopt;
  }
  return recordToWords(read);
}

namespace {
// A button switched on sets its target; one switched off falls back to RAM.
int radioChanged(Program& p, int control, int event, int target) {
  if (event != ui::EVENT_VAL_CHANGED) return 0;
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
