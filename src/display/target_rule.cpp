#include "display/target_rule.h"

namespace qrix {

void updateTargetAndTolerance(ProgramState& st) {
  SysFrame& sys = st.parameter.sys;
  switch (sys.evalmode) {
    case 0: st.tVal = st.parameter.slave.teach; break;
    case 1: st.tVal = st.parameter.master.teach; break;
    case 2:
      // The target is the sum of both teach values; a zero tolerance would leave no band to
      // split between the sensors.
      st.tVal = static_cast<std::uint16_t>(st.parameter.master.teach + st.parameter.slave.teach);
      if (sys.toleranceUP == 0) sys.toleranceUP = 1;
      if (sys.toleranceLO == 0) sys.toleranceLO = 1;
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
}

}  // namespace qrix
