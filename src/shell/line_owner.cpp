#include "shell/line_owner.h"

#include "shell/program.h"

namespace qrix {

bool lineBusy(const Program& p) {
  return p.st.lineUser != LineUser::None;
}

bool lineExclusive(const Program& p) {
  return p.st.lineUser == LineUser::Recorder || p.st.lineUser == LineUser::Flash;
}

LineClaim::LineClaim(Program& p, LineUser user) : p_(p), held_(!lineBusy(p)) {
  if (held_) p_.st.lineUser = user;
}

LineClaim::~LineClaim() {
  if (held_) p_.st.lineUser = LineUser::None;
}

ExclusiveLineClaim::ExclusiveLineClaim(Program& p, LineUser user) : p_(p), claim_(p, user) {
  if (!claim_) return;
  const ProgramState& st = p.st;
  namespace m = ids::main;
  const std::pair<int, int> starters[] = {
      {st.pHandle, m::BTNRun},
      {st.pHandle, m::BTNVideo},
      {st.pHandle, m::BTNData},
      {st.pHandle, m::ButtonTeach},
      {st.pHandle, m::ButtonReset},
      {st.pHandle, m::BTNGet},
      {st.pHandle, m::BTNSend},
      {st.pHandle, m::DropDCom},
      {st.pPopUp, ids::popup::BTNStartRecord},
      {st.pCalib, ids::calib::BTNWriteXFMA},
      {st.pCalib, ids::calib::BTNWriteXFSL},
  };
  ui::UiModel& ui = p.ui();
  for (auto [panel, control] : starters) {
    saved_.push_back({panel, control, ui.IsDimmed(panel, control)});
    ui.SetDimmed(panel, control, true);
  }
}

ExclusiveLineClaim::~ExclusiveLineClaim() {
  for (const Saved& s : saved_) p_.ui().SetDimmed(s.panel, s.control, s.dimmed);
}

}  // namespace qrix
