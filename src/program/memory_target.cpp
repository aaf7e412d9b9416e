#include "program/memory_target.h"

#include "program/program.h"

namespace qrix {

void setMemoryTarget(Program& p, int target) {
  ProgramState& st = p.st;
  st.target = target;
  p.ui().SetCtrlVal(st.pHandle, ids::main::RBTRam, target == kTargetRam);
  p.ui().SetCtrlVal(st.pHandle, ids::main::RBTEeprom, target == kTargetEeprom);
  p.ui().SetCtrlVal(st.pHandle, ids::main::RBTFile, target == kTargetFile);
}

}  // namespace qrix
