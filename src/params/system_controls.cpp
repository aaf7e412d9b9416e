#include "params/system_controls.h"

#include <algorithm>
#include <cstdint>

#include "program/program.h"

namespace qrix {

void dimToleranceFields(Program& p, int hardwareMode) {
  const bool dim = hardwareMode == 1 || hardwareMode == 3;
  p.ui().SetDimmed(p.st.pPara0, ids::para0::NUMToleranceUP, dim);
  p.ui().SetDimmed(p.st.pPara0, ids::para0::NUMToleranceLO, dim);
}

void showAnalogControls(Program& p, int analogMode) {
  for (int id : {ids::main::NUMAnaMax, ids::main::NUMAnaMin, ids::main::ButtonReset}) {
    p.ui().SetVisible(p.st.pHandle, id, analogMode != 0);
  }
}

int CC_DropEvalMode(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  const int mode = static_cast<int>(ui.GetCtrlVal(st.pPara0, ids::para0::DropEvalMode));
  const bool rawMeasurementView = ui.GetCtrlVal(st.pHandle, ids::main::RAWSelect) == 1;
  const std::uint16_t n = st.ccdvirtpixel;
  bool dimA = false, dimB = true, resetCursor = false;
  std::uint16_t yMax = n;
  switch (mode) {
    case 0:
      dimA = true;
      dimB = false;
      resetCursor = true;
      break;
    case 1: resetCursor = true; break;
    case 2:
      dimB = false;
      resetCursor = true;
      break;
    case 3: dimA = true; break;
    case 4: dimB = false; break;
    default: break;
  }
  if (mode >= 2 && mode <= 4 && rawMeasurementView) {
    yMax = static_cast<std::uint16_t>(2 * n);
  }
  ui.SetDimmed(st.pPara1, ids::sensor::NUMTeach, dimA);
  ui.SetDimmed(st.pPara2, ids::sensor::NUMTeach, dimB);
  if (resetCursor) {
    for (int graph : {ids::main::GRAPHBarMaster, ids::main::GRAPHBarSlave}) {
      ui.SetCursorPointStyle(st.pHandle, graph, 2, ui::kPointStyleNoMarker);
    }
  }
  st.YAXISMAX = yMax;
  return 0;
}

int CC_DROPHardwareMode(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  dimToleranceFields(
      p, static_cast<int>(p.ui().GetCtrlVal(p.st.pPara0, ids::para0::DROPHardwareMode)));
  return 0;
}

int CC_DROPAnaMode(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  showAnalogControls(p, static_cast<int>(p.ui().GetCtrlVal(p.st.pPara0, ids::para0::DROPAnaMode)));
  return 0;
}

namespace {

// The tolerance field is limited so that the master teach value plus the tolerance stays below
// the virtual pixel count (a sum of exactly n is accepted); it never goes below 0.
int limitTolerance(Program& p, int field, int mmDisplay, int event) {
  if (event != ui::EVENT_VAL_CHANGED) {
    return 0;
  }
  ProgramState& st = p.st;
  const std::int32_t n = st.ccdvirtpixel;
  const std::int32_t teach = st.parameter.master.teach;
  std::int32_t v = static_cast<std::int32_t>(p.ui().GetCtrlVal(st.pPara0, field));
  if (teach + v > n) {
    v = std::max<std::int32_t>(0, n - teach - 1);
  }
  p.ui().SetCtrlVal(st.pPara0, field, v);
  const double mm = static_cast<double>(st.parameter.master.scale) * v / (1024.0 * 1000.0);
  p.ui().SetCtrlVal(st.pHandle, mmDisplay, mm);
  return 0;
}

}  // namespace

int CC_NUMToleranceUP(Program& p, int, int, int event) {
  return limitTolerance(p, ids::para0::NUMToleranceUP, ids::main::NUMTolUpMM, event);
}

int CC_NUMToleranceLO(Program& p, int, int, int event) {
  return limitTolerance(p, ids::para0::NUMToleranceLO, ids::main::NUMTolLoMM, event);
}

}  // namespace qrix
