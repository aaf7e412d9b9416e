#include "program/line_owner.h"

#include "program/program.h"

namespace qrix {

bool loopHoldsLine(const Program& p) {
  return p.st.lineUser != LineUser::None;
}

bool loopOwnsButtons(const Program& p) {
  const LineUser user = p.st.lineUser;
  return user == LineUser::Recorder || user == LineUser::Flash || user == LineUser::Compare;
}

bool loopShutsOutExchanges(const Program& p) {
  return loopHoldsLine(p) && p.st.lineUser != LineUser::Run;
}

LineClaim::LineClaim(Program& p, LineUser user) : p_(p), held_(!loopHoldsLine(p)) {
  if (held_) {
    p_.st.lineUser = user;
  }
}

LineClaim::~LineClaim() {
  if (held_) {
    p_.st.lineUser = LineUser::None;
  }
}

ExclusiveLineClaim::ExclusiveLineClaim(Program& p, LineUser user) : p_(p), claim_(p, user) {
  if (!claim_) {
    return;
  }
  const ProgramState& st = p.st;
  namespace m = ids::main;
  // The loops' own buttons and the recorder's START follow the VIDEO and DATA steps.
  const bool blockTransfer = user == LineUser::Video || user == LineUser::Data;
  const struct {
    int panel, control;
    bool byBlockTransfer;
  } starters[] = {
      {st.pHandle, m::BTNRun, false},
      {st.pHandle, m::BTNVideo, false},
      {st.pHandle, m::BTNData, false},
      {st.pHandle, m::ButtonTeach, false},
      {st.pHandle, m::ButtonReset, true},
      {st.pHandle, m::BTNGet, true},
      {st.pHandle, m::BTNSend, true},
      {st.pHandle, m::DropDCom, true},
      {st.pPopUp, ids::popup::BTNStartRecord, false},
      {st.pCalib, ids::calib::BTNWriteXFMA, true},
      {st.pCalib, ids::calib::BTNWriteXFSL, true},
  };
  // Without a window there is no button to dim.
  if (!p.hasWindow()) {
    return;
  }
  ui::UiModel& ui = p.ui();
  for (auto [panel, control, byBlockTransfer] : starters) {
    if (blockTransfer && !byBlockTransfer) {
      continue;
    }
    saved_.push_back({panel, control, ui.IsDimmed(panel, control)});
    ui.SetDimmed(panel, control, true);
  }
}

ExclusiveLineClaim::~ExclusiveLineClaim() {
  for (const Saved& s : saved_) {
    p_.ui().SetDimmed(s.panel, s.control, s.dimmed);
  }
}

}  // namespace qrix
