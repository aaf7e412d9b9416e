#pragma once
// The serial library the program talks to: ports by number, open with settings, queues,
// and a receive notification that only ever runs inside the event pump.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/serial_device.h"

namespace qrix::serial {

// Open results of the serial library.
inline constexpr int kErrUnknownSystem = -1;
inline constexpr int kErrInvalidPort = -2;
inline constexpr int kErrPortNotOpen = -3;
inline constexpr int kErrUnknownIo = -4;
inline constexpr int kErrNoSerialPort = -6;
inline constexpr int kErrCannotOpen = -7;
inline constexpr int kErrInvalidParameter = -13;
inline constexpr int kErrTimeout = -99;

// Receive-notification events.
inline constexpr int LWRS_RXFLAG = 0x0002;   // the event character arrived
inline constexpr int LWRS_TXEMPTY = 0x0004;  // transmit queue empty
inline constexpr int LWRS_RECEIVE = 0x8000;  // at least notifyCount bytes are queued

inline constexpr int kNoParity = 0;

// The simulator's pseudo device name and its port number. Port numbers count from 1 and the
// start-up default is 1, so the simulator sits below them: a machine without serial devices
// must never find a simulated sensor on port 1 and report a line that is not there.
inline constexpr const char* kSimDevice = "sim";
inline constexpr int kSimPort = -1;

// Windows names its serial ports COM1, COM2, ...: port n is COMn. The number of such a name
// ("COM7", "com7", or "\\.\COM12" as CreateFile needs it from COM10 on), or none.
std::optional<int> comPortNumber(std::string_view name);

struct PortEntry {
  int number = 0;
  std::string device;  // a device path, "COMn", or kSimDevice
  std::string label;   // as the port list shows it
};

struct OpenSettings {
  long baud = 19200;
  int parity = kNoParity;
  int dataBits = 8;
  int stopBits = 1;
  int inQueueSize = 4096;
  int outQueueSize = 4096;
};

// Why a device did not open: a negative code of the table above, and the system's reason.
struct OpenError {
  int code = kErrCannotOpen;
  std::string reason;
  // The device is there but is no serial port (a regular file, a folder, /dev/null).
  bool notSerialPort = false;
};

// Opens the device of a port entry, or returns none and says why.
using DeviceOpener =
    std::function<std::unique_ptr<SerialDevice>(const PortEntry&, const OpenSettings&, OpenError&)>;

using ComCallback = std::function<void(int port, int eventMask, void* data)>;

class SerialLibrary {
 public:
  void setPorts(std::vector<PortEntry> ports) { ports_ = std::move(ports); }
  const std::vector<PortEntry>& ports() const { return ports_; }
  // Adds a port for a device (a path given on the command line) and returns its number;
  // kSimDevice always gets kSimPort, and on Windows a COM port name its own number.
  int addPort(const std::string& device, const std::string& label);
  std::optional<PortEntry> port(int number) const;
  void setOpener(DeviceOpener opener) { opener_ = std::move(opener); }

  // Follows the devices the system enumerates as they come and go. A device keeps the number it
  // was first given for the whole run, so a port number never moves to another device; a new
  // device gets its proposed number when that was never used, else the next free one; a device
  // that went away leaves the list. Paths added by addPort and the simulator stay. Calls the
  // ports-changed handler when the list changed.
  void followPorts(const std::vector<PortEntry>& enumerated);
  void setPortsChangedHandler(std::function<void()> handler) { portsChanged_ = std::move(handler); }
  // Called from the pump, once, when the device of an open port has gone away.
  void setLineLostHandler(std::function<void(int port)> handler) { lineLost_ = std::move(handler); }

  int OpenComConfig(int port, const std::string& deviceName, long baud, int parity, int dataBits,
                    int stopBits, int inQueueSize, int outQueueSize);
  int CloseCom(int port);
  int SetComTime(int port, double seconds);
  int SetCTSMode(int port, int mode);
  int FlushInQ(int port);
  int FlushOutQ(int port);
  // A null function or an empty mask switches the notification off.
  int InstallComCallback(int port, int eventMask, int notifyCount, int eventChar, ComCallback fn,
                         void* data);
  int ComWrt(int port, const std::uint8_t* data, int n);
  int ComRd(int port, std::uint8_t* data, int n);
  int GetInQLen(int port);

  bool isOpen(int port) const { return open_.count(port) != 0; }
  // The system's reason for the last open that failed (empty when it gave none).
  const std::string& lastOpenReason() const { return lastOpenError_.reason; }
  // The last open that failed, with its code and whether the device was no serial port.
  const OpenError& lastOpenError() const { return lastOpenError_; }
  SerialDevice* device(int port);

  // Called by the event pump only: runs the receive notification of every port whose
  // queue holds at least its notify count. The pump has just read the lines: the queues are
  // taken as they are, and so is the notified port's GetInQLen until the notification reads,
  // discards or pumps.
  void dispatchNotifications();
  // The earliest byte due on any simulated line (for the virtual clock).
  std::optional<double> nextArrival() const;

 private:
  struct Notification {
    int mask = 0;
    int count = 0;
    ComCallback fn;
    void* data = nullptr;
  };
  struct OpenPort {
    std::unique_ptr<SerialDevice> device;
    Notification notification;
    double timeout = 1.5;
    bool lossReported = false;
  };
  OpenPort* find(int port);

  std::vector<PortEntry> ports_;
  std::map<std::string, int> numbers_;  // every device ever listed, with its number
  std::vector<std::string> added_;      // devices named by addPort
  std::function<void()> portsChanged_;
  std::function<void(int)> lineLost_;
  DeviceOpener opener_;
  std::map<int, OpenPort> open_;
  OpenError lastOpenError_{0, {}, false};
  int justRead_ = 0;  // the port whose queue the pump has just read, while its notification runs
};

}  // namespace qrix::serial
