#include "display/block_transfers.h"

#include "display/run_cycle.h"
#include "plots/bar_graph.h"
#include "plots/data_curves.h"
#include "plots/video_curves.h"
#include "program/line_owner.h"
#include "program/memory_target.h"
#include "program/program.h"
#include "program/transport.h"
#include "services/block_reads.h"

namespace qrix {

namespace {

namespace m = ids::main;

// Both transfers read the sensor's RAM: the memory target follows, whatever it was.
void prepareBlockTransfer(Program& p) {
  p.ui().SetDimmed(p.st.pPopUp, ids::popup::BTNStartRecord, true);
  setMemoryTarget(p, kTargetRam);
}

void setVideoAxes(Program& p) {
  for (int graph : {m::GRAPHVideoMaster, m::GRAPHVideoSlave}) {
    p.ui().SetAxisRange(p.st.pHandle, graph, ui::Axis::X, 1.0, p.st.ccdvirtpixel);
  }
}

// Gives the line back to frame exchanges after the blocks.
void endBlockTransfer(Program& p) {
  installReceiveNotification(p, p.st.com);
  discardQueues(p, Discard::OutputFirst);
}

}  // namespace

void PushVIDEO(Program& p) {
  ExclusiveLineClaim claim(p, LineUser::Video);
  if (!claim) {
    return;
  }
  ProgramState& st = p.st;
  p.setMainVisible({m::GRAPHRaw, m::GRAPHDataMaster, m::RAWSelect}, false);
  p.setMainVisible({m::GRAPHVideoMaster, m::GRAPHVideoSlave}, true);
  p.setMainDimmed({m::BTNRun, m::BTNVideo, m::BTNData, m::ButtonTeach}, true);
  st.stop_flag = 0;
  while (st.stop_flag == 0) {
    // A pass with a missing block draws nothing; the next pass starts with a new request. A
    // RUN exchange that timed out ends the loop.
    if (readVideoPass(p)) {
      setVideoAxes(p);
      PlotVIDEOCurveA(p, st.adcbufA, st.thdArrayA, st.xArray8);
      PlotVIDEOCurveB(p, st.adcbufB, st.thdArrayB, st.xArray8);
      PlotVIDEOBarGraph(p);
    }
    p.rt.Delay(0.01);
    p.pump();
  }
  p.setMainDimmed({m::BTNRun, m::BTNVideo, m::ButtonTeach}, false);
  endBlockTransfer(p);
}

void PushDATA(Program& p) {
  ExclusiveLineClaim claim(p, LineUser::Data);
  if (!claim) {
    return;
  }
  ProgramState& st = p.st;
  p.setMainVisible({m::GRAPHRaw, m::GRAPHVideoMaster, m::GRAPHVideoSlave, m::RAWSelect}, false);
  p.setMainVisible({m::GRAPHDataMaster, m::GRAPHDataSlave}, true);
  p.setMainDimmed({m::BTNRun, m::BTNVideo, m::BTNData, m::ButtonTeach}, true);
  if (readDataPass(p)) {
    setVideoAxes(p);
    PlotDATACurveA(p, st.mvalBUFA, st.xArrayMVAL);
    PlotDATACurveB(p, st.mvalBUFB, st.xArrayMVAL);
    PlotVIDEOBarGraph(p);
  }
  p.setMainDimmed({m::BTNRun, m::BTNVideo, m::ButtonTeach, m::BTNData}, false);
  endBlockTransfer(p);
}

int CC_BTNVideo(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || loopHoldsLine(p)) {
    return 0;
  }
  prepareBlockTransfer(p);
  PushVIDEO(p);
  return 0;
}

int CC_BTNData(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT || loopHoldsLine(p)) {
    return 0;
  }
  prepareBlockTransfer(p);
  PushDATA(p);
  return 0;
}

}  // namespace qrix
