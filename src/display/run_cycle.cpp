#include "display/run_cycle.h"

#include "display/bar_graph.h"
#include "display/raw_graph.h"
#include "link/block_reads.h"
#include "link/commands.h"
#include "link/transport.h"
#include "shell/line_owner.h"
#include "shell/program.h"

namespace qrix {

void CopyPPtoRAWVars(Program& p) {
  ProgramState& st = p.st;
  const WordArray& w = st.pp;
  st.Aval = w[0];
  st.Bval = w[1];
  st.Mvalue = w[2];
  // Word 3 is the low half, word 4 the high half of the signed micrometre value.
  st.umValue = static_cast<std::int32_t>(static_cast<std::uint32_t>(w[4]) << 16 | w[3]);
  st.poti = w[5];
  st.edcntA = w[6];
  st.edcntB = w[7];
  st.peakwA = w[8];
  st.peakwB = w[9];
  st.anaMax = w[10];
  st.anaMin = w[11];
  st.parameter.master.teach = w[12];
  st.parameter.slave.teach = w[13];
  st.raw15 = w[14];
  st.instate = w[15];
}

namespace {

void showRunGraphs(Program& p) {
  ui::UiModel& ui = p.ui();
  const int main = p.st.pHandle;
  namespace m = ids::main;
  for (int c : {m::GRAPHRaw, m::GRAPHBarMaster, m::GRAPHBarSlave, m::RAWSelect})
    ui.SetVisible(main, c, true);
  for (int c : {m::GRAPHVideoMaster, m::GRAPHDataMaster, m::GRAPHVideoSlave, m::GRAPHDataSlave})
    ui.SetVisible(main, c, false);
}

}  // namespace

void PushRUN(Program& p) {
  LineClaim claim(p, LineUser::Run);
  if (!claim) return;
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  showRunGraphs(p);
  ui.SetDimmed(st.pPopUp, ids::popup::BTNStartRecord, true);
  ui.SetDimmed(st.pHandle, ids::main::BTNRun, true);
  st.stop_flag = 0;
  st.graph_flag = 0;
  st.rx_flag = 0;

  double lastRequest = p.rt.Timer();
  PushGETRAW(p);
  do {
    // Only RUN answers are drawn; any frame releases the next request.
    if (st.graph_flag == 1) {
      CopyPPtoRAWVars(p);
      PlotVIDEOBarGraph(p);
      PlotRAWGraph(p);
      st.graph_flag = 0;
      discardQueues(p, Discard::ForFrameExchange);
    }
    if (st.rx_flag == 1) {
      // The payload is frame 0 as the record holds it now, so an edit made during RUN
      // travels with the next request.
      CopyVarsToPP(st.parameter, 0, st.pp);
      lastRequest = p.rt.Timer();
      sendRequest(p, Discard::ForFrameExchange, cmd::kRun, 0, st.pp);
    }
    if (elapsedSince(p, lastRequest) > kRunTimeout) {
      p.showText("Timeout RS232-Line!");
      st.stop_flag = 1;
      break;
    }
    p.pump();
  } while (st.stop_flag == 0);

  st.rx_flag = 0;
  st.graph_flag = 0;
  discardQueues(p, Discard::ForFrameExchange);
  ui.SetDimmed(st.pHandle, ids::main::BTNRun, false);
}

int CC_BTNRun(Program& p, int, int, int event) {
  if (event == ui::EVENT_COMMIT) PushRUN(p);
  return 0;
}

int CC_BTNStop(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) return 0;
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  st.stop_flag = 1;
  // A recording or flash transfer gives the buttons back their own states when it has ended.
  if (!lineExclusive(p)) {
    namespace m = ids::main;
    for (int c : {m::BTNData, m::BTNVideo, m::BTNRun, m::ButtonTeach, m::ButtonReset})
      ui.SetDimmed(st.pHandle, c, false);
    ui.SetDimmed(st.pPopUp, ids::popup::BTNStartRecord, false);
  }
  // The running loop sees stop_flag once this callback has returned, after the pause.
  p.rt.Delay(0.2);
  return 0;
}

}  // namespace qrix
