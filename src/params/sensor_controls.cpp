#include "params/sensor_controls.h"

#include <algorithm>
#include <cstdint>

#include "params/panel_binding.h"
#include "plots/data_curves.h"
#include "plots/video_curves.h"
#include "program/program.h"

namespace qrix {

namespace {

int panelOf(const Program& p, Sensor s) {
  return s == Sensor::Master ? p.st.pPara1 : p.st.pPara2;
}

std::uint16_t readWord(Program& p, Sensor s, int control) {
  return static_cast<std::uint16_t>(
      static_cast<std::int64_t>(p.ui().GetCtrlVal(panelOf(p, s), control)) & 0xFFFF);
}

}  // namespace

int videoThresholdChanged(Program& p, Sensor s, int event) {
  if (event != ui::EVENT_VAL_CHANGED) {
    return 0;
  }
  ProgramState& st = p.st;
  const std::uint16_t line =
      videoThresholdCounts(st.ADCMAX, readWord(p, s, ids::sensor::SLIDEVideoTHD));
  if (s == Sensor::Master) {
    st.thdArrayA.fill(line);
    PlotVIDEOCurveA(p, st.adcbufA, st.thdArrayA, st.xArray8);
  } else {
    st.thdArrayB.fill(line);
    PlotVIDEOCurveB(p, st.adcbufB, st.thdArrayB, st.xArray8);
  }
  return 0;
}

int powerModeChanged(Program& p, Sensor s, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  const bool automatic = p.ui().GetCtrlVal(panelOf(p, s), ids::sensor::DROPpmode) == 1;
  p.ui().SetDimmed(panelOf(p, s), ids::sensor::SLIDEpower, automatic);
  return 0;
}

int triggerThresholdChanged(Program& p, Sensor s, int event) {
  if (event != ui::EVENT_VAL_CHANGED) {
    return 0;
  }
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  const std::uint16_t v = readWord(p, s, ids::sensor::NUMTriggThreshold);
  ui.SetVisible(st.pHandle, ids::main::GRAPHRaw, false);
  if (s == Sensor::Master) {
    st.trgBUFA.fill(v);
    ui.SetVisible(st.pHandle, ids::main::GRAPHVideoMaster, false);
    ui.SetVisible(st.pHandle, ids::main::GRAPHDataMaster, true);
    PlotDATACurveA(p, st.mvalBUFA, st.xArrayMVAL);
  } else {
    // The slave's new trigger line shows with the next drawing of the slave data curve.
    st.trgBUFB.fill(v);
    ui.SetVisible(st.pHandle, ids::main::GRAPHVideoSlave, false);
  }
  return 0;
}

int teachCommitted(Program& p, Sensor s, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  const std::int32_t n = st.ccdvirtpixel;
  std::int32_t v = static_cast<std::int32_t>(ui.GetCtrlVal(panelOf(p, s), ids::sensor::NUMTeach));
  if (v > n) {
    v = n - 1;
  }
  if (v < 1) {
    v = 1;
  }
  ui.SetCtrlVal(panelOf(p, s), ids::sensor::NUMTeach, v);
  const std::uint16_t lo = clampLine(v - st.parameter.sys.toleranceLO, st.ccdvirtpixel);
  const std::uint16_t up = clampLine(v + st.parameter.sys.toleranceUP, st.ccdvirtpixel);
  const bool master = s == Sensor::Master;
  (master ? st.refTHDA : st.refTHDB).fill(static_cast<std::uint16_t>(v));
  (master ? st.loTHDA : st.loTHDB).fill(lo);
  (master ? st.upTHDA : st.upTHDB).fill(up);
  ui.SetVisible(st.pHandle, ids::main::GRAPHRaw, false);
  ui.SetVisible(st.pHandle, master ? ids::main::GRAPHVideoMaster : ids::main::GRAPHVideoSlave,
                false);
  ui.SetVisible(st.pHandle, ids::main::GRAPHDataMaster, true);
  ui.SetVisible(st.pHandle, ids::main::GRAPHDataSlave, true);
  if (master) {
    PlotDATACurveA(p, st.mvalBUFA, st.xArrayMVAL);
  } else {
    PlotDATACurveB(p, st.mvalBUFB, st.xArrayMVAL);
  }
  return 0;
}

int teachCursor(Program& p, Sensor s, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  const double v = p.ui().GetCtrlVal(panelOf(p, s), ids::sensor::NUMTeach);
  const int graph = s == Sensor::Master ? ids::main::GRAPHBarMaster : ids::main::GRAPHBarSlave;
  p.ui().SetGraphCursor(p.st.pHandle, graph, 2, v, 1.0);
  return 0;
}

}  // namespace qrix
