#include "display/run_cycle.h"

#include "plots/bar_graph.h"
#include "plots/raw_graph.h"
#include "plots/run_values.h"
#include "program/frame_codec.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"
#include "sensor_link/block_reads.h"

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
  st.runAnswerTaken = true;
  deriveRunValues(st);
}

namespace {

void showRunGraphs(Program& p) {
  namespace m = ids::main;
  p.setMainVisible({m::GRAPHRaw, m::GRAPHBarMaster, m::GRAPHBarSlave, m::RAWSelect}, true);
  p.setMainVisible({m::GRAPHVideoMaster, m::GRAPHDataMaster, m::GRAPHVideoSlave, m::GRAPHDataSlave},
                   false);
}

}  // namespace

int sendRunRequest(Program& p) {
  CopyVarsToPP(p.st.parameter, 0, p.st.pp);
  p.st.exchangeKind = link::ExchangeKind::Run;
  return sendRequest(p, Discard::ForFrameExchange, cmd::kRun, 0, p.st.pp);
}

void runExchange(Program& p, const RunExchange& exchange) {
  ProgramState& st = p.st;
  double lastRequest = exchange.lastRequest;
  bool strayBefore = false;
  do {
    // A frame that does not start with the sync word was taken out of step with the line: the
    // tail of an answer cut by a flush (RESET or TEACH during RUN) joined to the next one. It is
    // not drawn, and the next request waits until the rest of the stray answer has arrived, so
    // that the flush before the request drops it and the line is back in step. Only when that
    // did not help (noise, a wrong sync word) does the user see it.
    if (st.rx_flag == 1) {
      const bool stray = !rxInSync(st);
      if (stray) {
        p.recordExchange(link::ExchangeKind::Run, link::Outcome::OutOfStep);
        st.graph_flag = 0;
        if (strayBefore) p.showText("read error - not sync byte 0xAA!");
        p.rt.Delay(kFrameBytes * kByteSeconds);
      }
      strayBefore = stray;
    }
    // Only RUN answers are drawn; any frame releases the next request.
    if (st.graph_flag == 1) {
      p.recordExchange(link::ExchangeKind::Run, link::Outcome::Answered);
      CopyPPtoRAWVars(p);
      PlotVIDEOBarGraph(p);
      PlotRAWGraph(p);
      if (!exchange.onAnswer()) {
        st.stop_flag = 1;
        break;
      }
      st.graph_flag = 0;
      discardQueues(p, Discard::ForFrameExchange);
    }
    if (st.rx_flag == 1) {
      lastRequest = p.rt.Timer();
      sendRunRequest(p);
    }
    // A line that went away ends the exchange at once, as a time-out would.
    if (elapsedSince(p, lastRequest) > exchange.timeout || serialLineLost(p)) {
      p.recordExchange(link::ExchangeKind::Run,
                       serialLineLost(p) ? link::Outcome::LineLost : link::Outcome::TimedOut);
      p.showText("Timeout RS232-Line!");
      st.stop_flag = 1;
      break;
    }
    if (exchange.finished()) st.stop_flag = 1;
    // An exchange that is over waits for nothing more.
    if (st.stop_flag != 0) break;
    // Nothing follows an answer until the next request: its last bytes need no pumps of their own.
    pumpForFrame(p, lastRequest + exchange.timeout, LastBytes::WithTheRest);
  } while (st.stop_flag == 0);
}

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

  const double firstRequest = p.rt.Timer();
  PushGETRAW(p);
  runExchange(p, {kRunTimeout, firstRequest});

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
    p.setMainDimmed({m::BTNData, m::BTNVideo, m::BTNRun, m::ButtonTeach, m::ButtonReset}, false);
    ui.SetDimmed(st.pPopUp, ids::popup::BTNStartRecord, false);
  }
  // The running loop sees stop_flag once this callback has returned, after the pause.
  p.rt.Delay(0.2);
  return 0;
}

}  // namespace qrix
