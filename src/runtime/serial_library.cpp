#include "runtime/serial_library.h"

#include <algorithm>
#include <cctype>

namespace qrix::serial {

std::optional<int> comPortNumber(std::string_view name) {
  if (name.starts_with("\\\\.\\")) name.remove_prefix(4);
  if (name.size() < 4 || name.size() > 7) return std::nullopt;
  for (std::size_t i = 0; i < 3; ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return std::nullopt;
  if (name[3] == '0') return std::nullopt;
  int number = 0;
  for (char c : name.substr(3)) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

int SerialLibrary::addPort(const std::string& device, const std::string& label) {
  for (const PortEntry& e : ports_)
    if (e.device == device) return e.number;
  int number = 1;
  for (const PortEntry& e : ports_) number = std::max(number, e.number + 1);
  if (device == kSimDevice) number = kSimPort;
#ifdef _WIN32
  // Port n is COMn, whether the system listed it or not (and however the name is spelt).
  if (const std::optional<int> com = comPortNumber(device)) {
    if (port(*com)) return *com;
    number = *com;
  }
#endif
  ports_.push_back(PortEntry{number, device, label});
  return number;
}

std::optional<PortEntry> SerialLibrary::port(int number) const {
  for (const PortEntry& e : ports_)
    if (e.number == number) return e;
  return std::nullopt;
}

SerialLibrary::OpenPort* SerialLibrary::find(int port) {
  auto it = open_.find(port);
  return it == open_.end() ? nullptr : &it->second;
}

SerialDevice* SerialLibrary::device(int port) {
  OpenPort* p = find(port);
  return p ? p->device.get() : nullptr;
}

int SerialLibrary::OpenComConfig(int port, const std::string& /*deviceName*/, long baud, int parity,
                                 int dataBits, int stopBits, int inQueueSize, int outQueueSize) {
  if (baud <= 0 || dataBits < 5 || dataBits > 8 || stopBits < 1 || stopBits > 2 ||
      inQueueSize < 0 || outQueueSize < 0)
    return kErrInvalidParameter;
  std::optional<PortEntry> entry = this->port(port);
  // A number no device stands behind is a missing device; below 1 it is no port number at all.
  if (!entry) return port < 1 ? kErrInvalidPort : kErrNoSerialPort;
  if (!opener_) return kErrNoSerialPort;
  CloseCom(port);
  int error = kErrCannotOpen;
  OpenSettings settings{baud, parity, dataBits, stopBits, inQueueSize, outQueueSize};
  std::unique_ptr<SerialDevice> dev = opener_(*entry, settings, error);
  if (!dev) return error < 0 ? error : kErrCannotOpen;
  open_[port].device = std::move(dev);
  return 0;
}

int SerialLibrary::CloseCom(int port) {
  if (!open_.erase(port)) return kErrPortNotOpen;
  return 0;
}

int SerialLibrary::SetComTime(int port, double seconds) {
  OpenPort* p = find(port);
  if (!p) return kErrPortNotOpen;
  p->timeout = seconds;
  return 0;
}

int SerialLibrary::SetCTSMode(int port, int /*mode*/) {
  return find(port) ? 0 : kErrPortNotOpen;
}

int SerialLibrary::FlushInQ(int port) {
  OpenPort* p = find(port);
  if (!p) return kErrPortNotOpen;
  p->device->flushInput();
  return 0;
}

int SerialLibrary::FlushOutQ(int port) {
  OpenPort* p = find(port);
  if (!p) return kErrPortNotOpen;
  p->device->flushOutput();
  return 0;
}

int SerialLibrary::InstallComCallback(int port, int eventMask, int notifyCount, int /*eventChar*/,
                                      ComCallback fn, void* data) {
  OpenPort* p = find(port);
  if (!p) return kErrPortNotOpen;
  if (!fn || eventMask == 0)
    p->notification = {};
  else
    p->notification = Notification{eventMask, std::max(1, notifyCount), std::move(fn), data};
  return 0;
}

int SerialLibrary::ComWrt(int port, const std::uint8_t* data, int n) {
  OpenPort* p = find(port);
  if (!p) return kErrPortNotOpen;
  if (n <= 0) return 0;
  return static_cast<int>(p->device->write(data, static_cast<std::size_t>(n)));
}

int SerialLibrary::ComRd(int port, std::uint8_t* data, int n) {
  OpenPort* p = find(port);
  if (!p) return kErrPortNotOpen;
  if (n <= 0) return 0;
  return static_cast<int>(p->device->read(data, static_cast<std::size_t>(n)));
}

int SerialLibrary::GetInQLen(int port) {
  OpenPort* p = find(port);
  if (!p) return kErrPortNotOpen;
  return static_cast<int>(p->device->inQueueLength());
}

void SerialLibrary::dispatchNotifications() {
  // Collect first: a notification may close or reopen ports.
  std::vector<int> due;
  for (auto& [number, p] : open_) {
    const Notification& n = p.notification;
    if (n.fn && (n.mask & LWRS_RECEIVE) &&
        p.device->inQueueLength() >= static_cast<std::size_t>(n.count))
      due.push_back(number);
  }
  for (int number : due) {
    OpenPort* p = find(number);
    if (!p || !p->notification.fn) continue;
    ComCallback fn = p->notification.fn;
    fn(number, LWRS_RECEIVE, p->notification.data);
  }
}

std::optional<double> SerialLibrary::nextArrival() const {
  std::optional<double> next;
  for (const auto& [number, p] : open_) {
    std::optional<double> t = p.device->nextArrival();
    if (t && (!next || *t < *next)) next = t;
  }
  return next;
}

}  // namespace qrix::serial
