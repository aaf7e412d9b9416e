#include "services/sensor_line.h"

#include <charconv>
#include <optional>

#include "program/program.h"
#include "program/transport.h"

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

bool openLine(Program& p, int port) {
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
    return false;
  }
  st.health.lineOpened();
  p.logLine("opened " + name + " at 19200 baud 8N1");
  p.linkHealthChanged();
  com.SetComTime(port, TIMEOUT);
  com.FlushInQ(port);
  com.FlushOutQ(port);
  com.SetCTSMode(port, 0);
  installReceiveNotification(p, port);
  return true;
}

void onSerialLineLost(Program& p, int port) {
  ProgramState& st = p.st;
  if (port != st.com) {
    return;
  }
  st.health.lineLost();
  const std::optional<serial::PortEntry> entry = p.serial().port(port);
  p.logLine("serial port lost: " + (entry ? entry->device : std::to_string(port)));
  p.linkHealthChanged();
  st.lineLostPending = true;
  if (st.callbackDepth == 0) {
    reportPendingLineLoss(p);
  }
}

void reportPendingLineLoss(Program& p) {
  ProgramState& st = p.st;
  if (!st.lineLostPending || st.callbackDepth > 0) {
    return;
  }
  st.lineLostPending = false;
  st.stop_flag = 1;
  st.lineChecked = false;
  p.serial().CloseCom(st.com);
  p.storeStatusText("Serial port lost!");
  p.showStoredStatus();
}

void followLineLoss(Program& p) {
  p.serial().setLineLostHandler([&p](int port) { onSerialLineLost(p, port); });
}

int portOfArgument(serial::SerialLibrary& serial, const std::string& value) {
  if (value == serial::kSimDevice) {
    return serial::kSimPort;
  }
  if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos) {
    int number = 0;  // too large a number stays 0, which is no port
    std::from_chars(value.data(), value.data() + value.size(), number);
    return number;
  }
  return serial.addPort(value, "PATH  " + value);
}

}  // namespace qrix
