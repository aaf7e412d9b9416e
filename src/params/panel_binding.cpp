#include "params/panel_binding.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "params/param_file.h"
#include "params/record_limits.h"
#include "params/system_controls.h"
#include "plots/data_curves.h"
#include "plots/video_curves.h"
#include "program/program.h"

namespace qrix {

namespace {

enum class Where { Para0, Master, Slave };

struct U16Binding {
  Where where;
  int control;
  std::uint16_t& (*field)(ParameterRecord&);
};

// Sensor fields are listed once and bound on both sensor panels.
#define SYS_FIELD(name) [](ParameterRecord& r) -> std::uint16_t& { return r.sys.name; }
#define SENSOR_FIELD(who, name) [](ParameterRecord& r) -> std::uint16_t& { return r.who.name; }
#define SENSOR_BINDINGS(where, who)                                                       \
  U16Binding{where, ids::sensor::SLIDEpower, SENSOR_FIELD(who, power)},                   \
      U16Binding{where, ids::sensor::DROPpmode, SENSOR_FIELD(who, pmode)},                \
      U16Binding{where, ids::sensor::SLIDEVideoTHD, SENSOR_FIELD(who, videothd)},         \
      U16Binding{where, ids::sensor::NUMTeach, SENSOR_FIELD(who, teach)},                 \
      U16Binding{where, ids::sensor::NUMPixelBegin, SENSOR_FIELD(who, pixBegin)},         \
      U16Binding{where, ids::sensor::NUMPixelEnd, SENSOR_FIELD(who, pixEnd)},             \
      U16Binding{where, ids::sensor::DROPopmode, SENSOR_FIELD(who, opmode)}, U16Binding { \
    where, ids::sensor::NUMTriggThreshold, SENSOR_FIELD(who, trigthd)                     \
  }

const std::vector<U16Binding>& u16Bindings() {
  static const std::vector<U16Binding> table = {
      {Where::Para0, ids::para0::DropEvalMode, SYS_FIELD(evalmode)},
      {Where::Para0, ids::para0::DROPtrigmode, SYS_FIELD(trigmode)},
      {Where::Para0, ids::para0::DROPAnaMode, SYS_FIELD(anamode)},
      {Where::Para0, ids::para0::DROPHardwareMode, SYS_FIELD(hwmode)},
      {Where::Para0, ids::para0::DROPaverage, SYS_FIELD(average)},
      {Where::Para0, ids::para0::DROPpolarity, SYS_FIELD(polarity)},
      {Where::Para0, ids::para0::NUMToleranceLO, SYS_FIELD(toleranceLO)},
      {Where::Para0, ids::para0::NUMToleranceUP, SYS_FIELD(toleranceUP)},
      SENSOR_BINDINGS(Where::Master, master),
      SENSOR_BINDINGS(Where::Slave, slave),
  };
  return table;
}

#undef SENSOR_BINDINGS
#undef SENSOR_FIELD
#undef SYS_FIELD

int panelOf(const ProgramState& st, Where where) {
  switch (where) {
    case Where::Para0: return st.pPara0;
    case Where::Master: return st.pPara1;
    case Where::Slave: return st.pPara2;
  }
  return 0;
}

// A control's number as the 16-bit word it stands for.
std::uint16_t toWord(double v) {
  return static_cast<std::uint16_t>(static_cast<std::int64_t>(std::trunc(v)) & 0xFFFF);
}

// Scale field (micrometres per virtual pixel) to the raw scale word and back. A double holds
// every 32-bit word over 1024 exactly; a float would round words above 2^24.
std::uint32_t scaleFromField(double fieldValue) {
  // A negative entry has no meaning for a scale; it stores 0 rather than a wrapped word.
  if (!(fieldValue > 0.0)) {
    return 0;
  }
  const double raw = std::trunc(fieldValue * 1024.0);
  return raw >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(raw);
}

double scaleToField(std::uint32_t scale) {
  return scale / 1024.0;
}

}  // namespace

void GetPanelValues(Program& p) {
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  for (const U16Binding& b : u16Bindings()) {
    b.field(st.parameter) = toWord(ui.GetCtrlVal(panelOf(st, b.where), b.control));
  }
  st.parameter.sys.setpoint = static_cast<std::int32_t>(
      static_cast<std::int64_t>(ui.GetCtrlVal(st.pCalib, ids::calib::NUMSetpoint)));
  st.parameter.master.scale = scaleFromField(ui.GetCtrlVal(st.pCalib, ids::calib::NUMScaleA));
  st.parameter.slave.scale = scaleFromField(ui.GetCtrlVal(st.pCalib, ids::calib::NUMScaleB));
  SetThresholds(p);
}

void SetPanelValues(Program& p) {
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  const ParameterRecord& r = st.parameter;
  const std::uint16_t n = st.ccdvirtpixel;

  LimitParameters(p);
  for (const U16Binding& b : u16Bindings()) {
    ui.SetCtrlVal(panelOf(st, b.where), b.control, b.field(st.parameter));
  }
  ui.SetCtrlVal(st.pCalib, ids::calib::NUMSetpoint, r.sys.setpoint);
  const double scaleA = scaleToField(r.master.scale);
  ui.SetCtrlVal(st.pCalib, ids::calib::NUMScaleA, scaleA);
  ui.SetCtrlVal(st.pCalib, ids::calib::NUMScaleB, scaleToField(r.slave.scale));

  // Both millimetre displays use the master's scale.
  ui.SetCtrlVal(st.pHandle, ids::main::NUMTolUpMM, scaleA * r.sys.toleranceUP / 1000.0);
  ui.SetCtrlVal(st.pHandle, ids::main::NUMTolLoMM, scaleA * r.sys.toleranceLO / 1000.0);

  const std::uint16_t mode = r.sys.evalmode;
  ui.SetDimmed(st.pPara1, ids::sensor::NUMTeach, mode == 0 || mode == 3);
  ui.SetDimmed(st.pPara2, ids::sensor::NUMTeach, mode == 1 || mode == 3);
  st.YAXISMAX = static_cast<std::uint16_t>(mode <= 1 ? n : 2 * n);

  applyModeStates(p);

  SetThresholds(p);
  ui.SetAxisRange(st.pHandle, ids::main::GRAPHRaw, ui::Axis::YLeft, 0, st.YAXISMAX);
  PlotVIDEOCurveA(p, st.adcbufA, st.thdArrayA, st.xArray8);
  PlotVIDEOCurveB(p, st.adcbufB, st.thdArrayB, st.xArray8);
  constexpr ui::Rgb kBarGrey = 0xA0A0A0;
  for (int graph : {ids::main::GRAPHBarMaster, ids::main::GRAPHBarSlave}) {
    ui.PlotRectangle(st.pHandle, graph, 0, 0, n - 1.0, 1.0, kBarGrey, kBarGrey);
  }
}

void applyModeStates(Program& p) {
  const ParameterRecord& r = p.st.parameter;
  p.ui().SetDimmed(p.st.pPara1, ids::sensor::SLIDEpower, r.master.pmode == 1);
  p.ui().SetDimmed(p.st.pPara2, ids::sensor::SLIDEpower, r.slave.pmode == 1);
  dimToleranceFields(p, r.sys.hwmode);
  showAnalogControls(p, r.sys.anamode);
}

}  // namespace qrix
