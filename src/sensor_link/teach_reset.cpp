#include "sensor_link/teach_reset.h"

#include "params/get_send.h"
#include "params/panel_binding.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"

namespace qrix {

int CC_ButtonTeach(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || loopShutsOutExchanges(p)) return 0;
  ProgramState& st = p.st;
  st.parameter.cmd = cmd::kTeach;
  GetPanelValues(p);
  CopyVarsToPP(st.parameter, 0, st.pp);
  st.exchangeKind = link::ExchangeKind::Teach;
  sendRequest(p, Discard::InputFirst, cmd::kTeach, 0, st.pp);
  p.showStatusText("New setpoint value teached!");
  if (awaitFrame(p, link::ExchangeKind::Teach, cmd::kTeach, Accept::AnyFrame).answered()) {
    readParameterFrames(p, kTargetRam);
  } else {
    p.showStatusText("Timeout RS232-Line!");
    st.stop_flag = 1;  // a running RUN ends
  }
  // Also after a time-out: the cursors show the teach values the record holds.
  p.ui().SetGraphCursor(st.pHandle, ids::main::GRAPHBarMaster, 1, st.parameter.master.teach, 0.75);
  p.ui().SetGraphCursor(st.pHandle, ids::main::GRAPHBarSlave, 1, st.parameter.slave.teach, 0.75);
  return 0;
}

void ResetMaxMin(Program& p) {
  ProgramState& st = p.st;
  st.parameter.cmd = cmd::kResetMaxMin;
  st.exchangeKind = link::ExchangeKind::Reset;
  sendRequest(p, Discard::InputFirst, cmd::kResetMaxMin, 0, st.pp);
  p.showStatusText("Reset Max/Min values...");
  // The content of the answer is not examined; any frame acknowledges.
  const bool acknowledged =
      awaitFrame(p, link::ExchangeKind::Reset, cmd::kResetMaxMin, Accept::AnyFrame).answered();
  p.storeStatusText(acknowledged ? "Reset Max/Min OK!" : "Timeout-RS-232...");
  p.showStoredStatus();
}

int CC_ButtonReset(Program& p, int, int, int event) {
  if (event == ui::EVENT_COMMIT && !loopShutsOutExchanges(p)) ResetMaxMin(p);
  return 0;
}

}  // namespace qrix
