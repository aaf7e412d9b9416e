#include "program/run_values.h"

namespace qrix {

namespace {

std::uint16_t onLine(std::uint16_t pos, std::uint16_t n) {
  if (pos < 1) {
    pos = 1;
  }
  if (pos > n) {
    pos = n;
  }
  return pos;
}

}  // namespace

void deriveRunValues(ProgramState& st) {
  SysFrame& sys = st.parameter.sys;
  switch (sys.evalmode) {
    case 0: st.tVal = st.parameter.slave.teach; break;
    case 1: st.tVal = st.parameter.master.teach; break;
    case 2:
      // The target is the sum of both teach values; a zero tolerance would leave no band to
      // split between the sensors.
      st.tVal = static_cast<std::uint16_t>(st.parameter.master.teach + st.parameter.slave.teach);
      if (sys.toleranceUP == 0) {
        sys.toleranceUP = 1;
      }
      if (sys.toleranceLO == 0) {
        sys.toleranceLO = 1;
      }
      break;
    case 3:
    case 4: st.tVal = st.ccdvirtpixel; break;
    default: break;
  }
  if (sys.hwmode == 0 || sys.hwmode == 2) {
    st.tolup = sys.toleranceUP;
    st.tollo = sys.toleranceLO;
  } else {
    st.tolup = st.poti;
    st.tollo = st.poti;
  }
  const std::uint16_t n = st.ccdvirtpixel;
  st.curposA = onLine(st.Aval, n);
  st.curposB = onLine(st.Bval, n);
  const bool acrossLines = sys.evalmode == 3 || sys.evalmode == 4;
  st.MvalueHeld =
      acrossLines && st.Mvalue > 2 * n - 1 ? static_cast<std::uint16_t>(2 * n) : st.Mvalue;
}

}  // namespace qrix
