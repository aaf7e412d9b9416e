#include "services/teach_reset.h"

#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"

namespace qrix {

bool teachSetpoints(Program& p) {
  ProgramState& st = p.st;
  st.parameter.cmd = cmd::kTeach;
  CopyVarsToPP(st.parameter, 0, st.pp);
  st.exchangeKind = link::ExchangeKind::Teach;
  sendRequest(p, Discard::InputFirst, cmd::kTeach, 0, st.pp);
  p.showStatusText("New setpoint value teached!");
  return awaitFrame(p, link::ExchangeKind::Teach, cmd::kTeach, Accept::AnyFrame).answered();
}

bool resetMaxMin(Program& p) {
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
  return acknowledged;
}

}  // namespace qrix
