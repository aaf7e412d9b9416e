#include "display/run_cycle.h"

#include "program/frame_codec.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"
#include "services/block_reads.h"
#include "services/run_exchange.h"

namespace qrix {

namespace {

void showRunGraphs(Program& p) {
  namespace m = ids::main;
  p.setMainVisible({m::GRAPHRaw, m::GRAPHBarMaster, m::GRAPHBarSlave, m::RAWSelect}, true);
  p.setMainVisible({m::GRAPHVideoMaster, m::GRAPHDataMaster, m::GRAPHVideoSlave, m::GRAPHDataSlave},
                   false);
}

}  // namespace

void PushRUN(Program& p) {
  LineClaim claim(p, LineUser::Run);
  if (!claim) {
    return;
  }
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  showRunGraphs(p);
  ui.SetDimmed(st.pPopUp, ids::popup::BTNStartRecord, true);
  ui.SetDimmed(st.pHandle, ids::main::BTNRun, true);
  st.stop_flag = 0;
  st.graph_flag = 0;
  st.rx_flag = 0;

  const double firstRequest = p.rt.Timer();
  PushGETRAW(p);
  runExchange(p, {kRunTimeout, firstRequest});

  st.rx_flag = 0;
  st.graph_flag = 0;
  discardQueues(p, Discard::InputFirst);
  ui.SetDimmed(st.pHandle, ids::main::BTNRun, false);
}

int CC_BTNRun(Program& p, int, int, int event) {
  if (event == ui::EVENT_COMMIT) {
    PushRUN(p);
  }
  return 0;
}

int CC_BTNStop(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  st.stop_flag = 1;
  // A recording or flash transfer gives the buttons back their own states when it has ended.
  if (!loopOwnsButtons(p)) {
    namespace m = ids::main;
    p.setMainDimmed({m::BTNData, m::BTNVideo, m::BTNRun, m::ButtonTeach, m::ButtonReset}, false);
    ui.SetDimmed(st.pPopUp, ids::popup::BTNStartRecord, false);
  }
  // The running loop sees stop_flag once this callback has returned, after the pause.
  p.rt.Delay(0.2);
  return 0;
}

}  // namespace qrix
