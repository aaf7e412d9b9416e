#include "sensor_link/teach_reset.h"

#include "params/get_send.h"
#include "params/panel_binding.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "services/teach_reset.h"

namespace qrix {

int CC_ButtonTeach(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || loopShutsOutExchanges(p)) {
    return 0;
  }
  ProgramState& st = p.st;
  // The request carries frame 0 as the panels show it.
  GetPanelValues(p);
  if (teachSetpoints(p)) {
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
  resetMaxMin(p);
}

int CC_ButtonReset(Program& p, int, int, int event) {
  if (event == ui::EVENT_COMMIT && !loopShutsOutExchanges(p)) {
    ResetMaxMin(p);
  }
  return 0;
}

}  // namespace qrix
