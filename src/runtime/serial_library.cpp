#include "runtime/serial_library.h"

#include <algorithm>
#include <cctype>

namespace qrix::serial {

std::optional<int> comPortNumber(std::string_view name) {
  if (name.starts_with("\\\\.\\")) {
    name.remove_prefix(4);
  }
  if (name.size() < 4 || name.size() > 7) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < 3; ++i) {
    if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) {
      return std::nullopt;
    }
  }
  if (name[3] == '0') {
    return std::nullopt;
  }
  int number = 0;
  for (char c : name.substr(3)) {
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      return std::nullopt;
    }
    number = number * 10 + (c - '0');
  }
  return number;
}

int SerialLibrary::addPort(const std::string& device, const std::string& label) {
  for (const PortEntry& e : ports_) {
    if (e.device == device) {
      return e.number;
    }
  }
  int number = 1;
  for (const PortEntry& e : ports_) {
    number = std::max(number, e.number + 1);
  }
  if (device == kSimDevice) {
    number = kSimPort;
  }
#ifdef _WIN32
  // Port n is COMn, whether the system listed it or not (and however the name is spelt).
  if (const std::optional<int> com = comPortNumber(device)) {
    if (port(*com)) {
      return *com;
    }
    number = *com;
  }
#endif
  ports_.push_back(PortEntry{number, device, label});
  numbers_[device] = number;
  added_.push_back(device);
  return number;
}

void SerialLibrary::followPorts(const std::vector<PortEntry>& enumerated) {
  for (const PortEntry& e : ports_) {
    numbers_.emplace(e.device, e.number);
  }
  const auto used = [this](int number) {
    for (const auto& [device, n] : numbers_) {
      if (n == number) {
        return true;
      }
    }
    return false;
  };
  std::vector<PortEntry> next;
  for (PortEntry e : enumerated) {
    auto known = numbers_.find(e.device);
    if (known != numbers_.end()) {
      if (known->second != e.number) {
        e.label = "COM" + std::to_string(known->second) + "  " + e.device;
      }
      e.number = known->second;
    } else {
      if (used(e.number)) {
        int free = 1;
        while (used(free)) {
          ++free;
        }
        e.label = "COM" + std::to_string(free) + "  " + e.device;
        e.number = free;
      }
      numbers_[e.device] = e.number;
    }
    next.push_back(e);
  }
  for (const PortEntry& e : ports_) {
    if (std::find(added_.begin(), added_.end(), e.device) != added_.end()) {
      next.push_back(e);
    }
  }
  std::sort(next.begin(), next.end(), [](const PortEntry& a, const PortEntry& b) {
    // The simulator's number sits below the others but its entry stays last.
    return (a.number == kSimPort) == (b.number == kSimPort) ? a.number < b.number
                                                            : b.number == kSimPort;
  });
  const bool changed =
      next.size() != ports_.size() ||
      !std::equal(next.begin(), next.end(), ports_.begin(),
                  [](const PortEntry& a, const PortEntry& b) {
                    return a.number == b.number && a.device == b.device && a.label == b.label;
                  });
  ports_ = std::move(next);
  if (changed && portsChanged_) {
    portsChanged_();
  }
}

std::optional<PortEntry> SerialLibrary::port(int number) const {
  for (const PortEntry& e : ports_) {
    if (e.number == number) {
      return e;
    }
  }
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
  const auto refused = [this](int code) {
    lastOpenError_ = {code, {}, false};
    return code;
  };
  if (baud <= 0 || dataBits < 5 || dataBits > 8 || stopBits < 1 || stopBits > 2 ||
      inQueueSize < 0 || outQueueSize < 0) {
    return refused(kErrInvalidParameter);
  }
  std::optional<PortEntry> entry = this->port(port);
  // A number no device stands behind is a missing device; below 1 it is no port number at all.
  if (!entry) {
    return refused(port < 1 ? kErrInvalidPort : kErrNoSerialPort);
  }
  if (!opener_) {
    return refused(kErrNoSerialPort);
  }
  CloseCom(port);
  OpenError error;
  OpenSettings settings{baud, parity, dataBits, stopBits, inQueueSize, outQueueSize};
  std::unique_ptr<SerialDevice> dev = opener_(*entry, settings, error);
  if (!dev) {
    if (error.code >= 0) {
      error.code = kErrCannotOpen;
    }
    lastOpenError_ = error;
    return error.code;
  }
  lastOpenError_ = {0, {}, false};
  open_[port].device = std::move(dev);
  return 0;
}

int SerialLibrary::CloseCom(int port) {
  if (!open_.erase(port)) {
    return kErrPortNotOpen;
  }
  return 0;
}

int SerialLibrary::SetComTime(int port, double seconds) {
  OpenPort* p = find(port);
  if (!p) {
    return kErrPortNotOpen;
  }
  p->timeout = seconds;
  return 0;
}

int SerialLibrary::SetCTSMode(int port, int /*mode*/) {
  return find(port) ? 0 : kErrPortNotOpen;
}

int SerialLibrary::FlushInQ(int port) {
  justRead_ = 0;
  OpenPort* p = find(port);
  if (!p) {
    return kErrPortNotOpen;
  }
  p->device->flushInput();
  return 0;
}

int SerialLibrary::FlushOutQ(int port) {
  OpenPort* p = find(port);
  if (!p) {
    return kErrPortNotOpen;
  }
  p->device->flushOutput();
  return 0;
}

int SerialLibrary::InstallComCallback(int port, int eventMask, int notifyCount, int /*eventChar*/,
                                      ComCallback fn, void* data) {
  OpenPort* p = find(port);
  if (!p) {
    return kErrPortNotOpen;
  }
  if (!fn || eventMask == 0) {
    p->notification = {};
  } else {
    p->notification = Notification{eventMask, std::max(1, notifyCount), std::move(fn), data};
  }
  return 0;
}

int SerialLibrary::ComWrt(int port, const std::uint8_t* data, int n) {
  OpenPort* p = find(port);
  if (!p) {
    return kErrPortNotOpen;
  }
  if (n <= 0) {
    return 0;
  }
  return static_cast<int>(p->device->write(data, static_cast<std::size_t>(n)));
}

int SerialLibrary::ComRd(int port, std::uint8_t* data, int n) {
  justRead_ = 0;
  OpenPort* p = find(port);
  if (!p) {
    return kErrPortNotOpen;
  }
  if (n <= 0) {
    return 0;
  }
  return static_cast<int>(p->device->read(data, static_cast<std::size_t>(n)));
}

int SerialLibrary::GetInQLen(int port) {
  OpenPort* p = find(port);
  if (!p) {
    return kErrPortNotOpen;
  }
  return static_cast<int>(port == justRead_ ? p->device->receivedLength()
                                            : p->device->inQueueLength());
}

void SerialLibrary::dispatchNotifications() {
  justRead_ = 0;
  // Collect first: a notification may close or reopen ports.
  std::vector<int> lost;
  for (auto& [number, p] : open_) {
    if (p.device->failed() && !p.lossReported) {
      p.lossReported = true;
      lost.push_back(number);
    }
  }
  if (lineLost_) {
    for (int number : lost) {
      lineLost_(number);
    }
  }
  std::vector<int> due;
  for (auto& [number, p] : open_) {
    const Notification& n = p.notification;
    if (n.fn && (n.mask & LWRS_RECEIVE) &&
        p.device->receivedLength() >= static_cast<std::size_t>(n.count)) {
      due.push_back(number);
    }
  }
  for (int number : due) {
    OpenPort* p = find(number);
    if (!p || !p->notification.fn) {
      continue;
    }
    ComCallback fn = p->notification.fn;
    justRead_ = number;
    fn(number, LWRS_RECEIVE, p->notification.data);
    justRead_ = 0;
  }
}

std::optional<double> SerialLibrary::nextArrival() const {
  std::optional<double> next;
  for (const auto& [number, p] : open_) {
    std::optional<double> t = p.device->nextArrival();
    if (t && (!next || *t < *next)) {
      next = t;
    }
  }
  return next;
}

}  // namespace qrix::serial
