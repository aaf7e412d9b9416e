#include "sensor_link/port_setup.h"

#include "params/get_send.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "sensor_link/identification.h"
#include "services/identify.h"
#include "services/sensor_line.h"

namespace qrix {

void InitRS232(Program& p, int port) {
  if (openLine(p, port)) {
    const Identification id = identifySensor(p);
    if (id.hardware) {
      showHardwareInWindow(p, *id.hardware);
    }
    if (id.lineChecked) {
      showRecordInPanels(p);
    }
  }
  p.showStoredStatus();
  p.ui().SetDimmed(p.st.pPara1, ids::sensor::SLIDEVideoTHD, false);
  p.ui().SetDimmed(p.st.pPara2, ids::sensor::SLIDEVideoTHD, false);
}

int CC_DropDCom(Program& p, int /*panel*/, int /*control*/, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  // The line belongs to a loop that refuses other exchanges: the list shows the port in use.
  if (loopShutsOutExchanges(p)) {
    p.ui().SetCtrlVal(p.st.pHandle, ids::main::DropDCom, p.st.com);
    return 0;
  }
  ProgramState& st = p.st;
  st.stop_flag = 1;
  p.serial().CloseCom(st.com);
  st.com = static_cast<int>(p.ui().GetCtrlVal(st.pHandle, ids::main::DropDCom));
  p.showStatusText("Init COM-Port ...");
  InitRS232(p, st.com);
  return 0;
}

void watchSerialLines(Program& p) {
  followLineLoss(p);
  p.serial().setPortsChangedHandler([&p] { fillPortList(p); });
}

void fillPortList(Program& p) {
  std::vector<ui::ListItem> items;
  for (const serial::PortEntry& e : p.serial().ports()) {
    items.push_back({e.label, static_cast<double>(e.number)});
  }
  p.ui().SetListItems(p.st.pHandle, ids::main::DropDCom, std::move(items));
  p.ui().SetCtrlVal(p.st.pHandle, ids::main::DropDCom, p.st.com);
}

}  // namespace qrix
