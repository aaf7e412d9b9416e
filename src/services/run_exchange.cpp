#include "services/run_exchange.h"

#include <span>

#include "program/frame_codec.h"
#include "program/program.h"
#include "program/run_answer.h"
#include "program/run_values.h"
#include "program/transport.h"
#include "qrix/link/commands.h"

namespace qrix {

namespace {

void takeRunAnswer(ProgramState& st, const RunAnswer& a) {
  st.Aval = a.Aval;
  st.Bval = a.Bval;
  st.Mvalue = a.Mvalue;
  st.umValue = a.umValue;
  st.poti = a.poti;
  st.edcntA = a.edcntA;
  st.edcntB = a.edcntB;
  st.peakwA = a.peakwA;
  st.peakwB = a.peakwB;
  st.anaMax = a.anaMax;
  st.anaMin = a.anaMin;
  st.parameter.master.teach = a.teachA;
  st.parameter.slave.teach = a.teachB;
  st.raw15 = a.raw15;
  st.instate = a.instate;
  st.runAnswerTaken = true;
  deriveRunValues(st);
}

}  // namespace

void CopyPPtoRAWVars(Program& p) {
  takeRunAnswer(p.st, decodeRunWords(p.st.pp));
}

int sendRunRequest(Program& p) {
  CopyVarsToPP(p.st.parameter, 0, p.st.pp);
  p.st.exchangeKind = link::ExchangeKind::Run;
  return sendRequest(p, Discard::InputFirst, cmd::kRun, 0, p.st.pp);
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
        if (strayBefore) {
          p.showStatusText("read error - not sync byte 0xAA!");
        }
        p.rt.Delay(kFrameBytes * kByteSeconds);
      }
      strayBefore = stray;
    }
    // Only RUN answers are taken; any frame releases the next request.
    if (st.graph_flag == 1) {
      p.recordExchange(link::ExchangeKind::Run, link::Outcome::Answered);
      const auto frame =
          std::span<const std::uint8_t, kFrameBytes>(st.szReadBuf.data(), kFrameBytes);
      takeRunAnswer(st, decodeRunAnswer(frame));
      if (!p.run.publish(runValuesOf(st))) {
        st.stop_flag = 1;
        break;
      }
      st.graph_flag = 0;
      discardQueues(p, Discard::InputFirst);
    }
    if (st.rx_flag == 1) {
      lastRequest = p.rt.Timer();
      sendRunRequest(p);
    }
    // A line that went away ends the exchange at once, as a time-out would.
    if (elapsedSince(p, lastRequest) > exchange.timeout || serialLineLost(p)) {
      p.recordExchange(link::ExchangeKind::Run,
                       serialLineLost(p) ? link::Outcome::LineLost : link::Outcome::TimedOut);
      p.showStatusText("Timeout RS232-Line!");
      st.stop_flag = 1;
      break;
    }
    if (exchange.finished()) {
      st.stop_flag = 1;
    }
    // An exchange that is over waits for nothing more.
    if (st.stop_flag != 0) {
      break;
    }
    // Nothing follows an answer until the next request: its last bytes need no pumps of their own.
    pumpForFrame(p, lastRequest + exchange.timeout, LastBytes::AllInOnePump);
  } while (st.stop_flag == 0);
  p.run.pause();
}

}  // namespace qrix
