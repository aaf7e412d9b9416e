#include "sensor_link/port_setup.h"

#include <charconv>
#include <optional>
#include <string>

#include "params/get_send.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "program/transport.h"
#include "sensor_link/identification.h"

namespace qrix {

std::string openErrorText(int code) {
  switch (code) {
    case -1: return "Unknown system error";
    case -2: return "Invalid port number";
    case -3: return "Port is not open";
    case -4: return "Unknown I/0 error";
    case -6: return "No serial port found";
    case -7: return "Cannot open port";
    case -13: return "Invalid parameter";
    case -99: return "Timeout";
    default: return "RS-232 error!";
  }
}

void InitRS232(Program& p, int port) {
  ProgramState& st = p.st;
  serial::SerialLibrary& com = p.serial();
  st.lineChecked = false;
  st.lineLostPending = false;
  const int opened = com.OpenComConfig(port, "", 19200, serial::kNoParity, 8, 1, 4096, 4096);
  const std::optional<serial::PortEntry> entry = com.port(port);
  const std::string name = entry ? entry->device : "port " + std::to_string(port);
  if (opened < 0) {
    p.storeStatusText(openErrorText(opened));
    const std::string& reason = com.lastOpenReason();
    p.logLine("cannot open " + name + ": " + openErrorText(opened) +
              (reason.empty() ? "" : " (" + reason + ")"));
    st.health.lineNotOpened();
    p.linkHealthChanged();
  } else {
    st.health.lineOpened();
    p.logLine("opened " + name + " at 19200 baud 8N1");
    p.linkHealthChanged();
    com.SetComTime(port, TIMEOUT);
    com.FlushInQ(port);
    com.FlushOutQ(port);
    com.SetCTSMode(port, 0);
    installReceiveNotification(p, port);
    st.lineChecked = CheckComLine(p) == 1;
    if (!st.lineChecked) p.logLine("line check failed: " + st.szStatus);
    if (st.lineChecked) {
      p.rt.Delay(0.1);
      if (!GetHARDWAREInfo(p)) p.storeStatusText("Error reading HARDWARE-info!");
      p.rt.Delay(0.1);
      readParameterFrames(p, kTargetRam);
      // Anything but the 72 bytes of a firmware text is a failed read.
      if (GetVERSIONInfo(p) != 72) p.storeStatusText("Error reading firmware-info!");
    }
  }
  p.showStoredStatus();
  p.ui().SetDimmed(st.pPara1, ids::sensor::SLIDEVideoTHD, false);
  p.ui().SetDimmed(st.pPara2, ids::sensor::SLIDEVideoTHD, false);
}

int CC_DropDCom(Program& p, int /*panel*/, int /*control*/, int event) {
  if (event != ui::EVENT_COMMIT) return 0;
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

void onSerialLineLost(Program& p, int port) {
  ProgramState& st = p.st;
  if (port != st.com) return;
  st.health.lineLost();
  const std::optional<serial::PortEntry> entry = p.serial().port(port);
  p.logLine("serial port lost: " + (entry ? entry->device : std::to_string(port)));
  p.linkHealthChanged();
  st.lineLostPending = true;
  if (st.callbackDepth == 0) reportPendingLineLoss(p);
}

void reportPendingLineLoss(Program& p) {
  ProgramState& st = p.st;
  if (!st.lineLostPending || st.callbackDepth > 0) return;
  st.lineLostPending = false;
  st.stop_flag = 1;
  st.lineChecked = false;
  p.serial().CloseCom(st.com);
  p.storeStatusText("Serial port lost!");
  p.showStoredStatus();
}

void watchSerialLines(Program& p) {
  p.serial().setLineLostHandler([&p](int port) { onSerialLineLost(p, port); });
  p.serial().setPortsChangedHandler([&p] { fillPortList(p); });
}

int portOfArgument(serial::SerialLibrary& serial, const std::string& value) {
  if (value == serial::kSimDevice) return serial::kSimPort;
  if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos) {
    int number = 0;  // too large a number stays 0, which is no port
    std::from_chars(value.data(), value.data() + value.size(), number);
    return number;
  }
  return serial.addPort(value, "PATH  " + value);
}

void fillPortList(Program& p) {
  std::vector<ui::ListItem> items;
  for (const serial::PortEntry& e : p.serial().ports())
    items.push_back({e.label, static_cast<double>(e.number)});
  p.ui().SetListItems(p.st.pHandle, ids::main::DropDCom, std::move(items));
  p.ui().SetCtrlVal(p.st.pHandle, ids::main::DropDCom, p.st.com);
}

}  // namespace qrix
