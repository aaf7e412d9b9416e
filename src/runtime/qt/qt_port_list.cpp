#include "runtime/qt/qt_port_list.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <cctype>
#include <optional>
#include <tuple>

namespace qrix::qt {

namespace {

struct SortKey {
  int group;
  std::string prefix;
  long long number;
  std::string path;
  bool operator<(const SortKey& o) const {
    return std::tie(group, prefix, number, path) < std::tie(o.group, o.prefix, o.number, o.path);
  }
};

// "/dev/ttyUSB10" -> group 1, prefix "ttyUSB", number 10.
SortKey keyOf(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  size_t digits = name.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) {
    --digits;
  }
  std::string prefix = name.substr(0, digits);
  std::string tail = name.substr(digits).substr(0, 18);
  long long number = tail.empty() ? -1 : std::stoll(tail);
  int group = prefix == "ttyS" ? 0 : prefix == "ttyUSB" ? 1 : prefix == "ttyACM" ? 2 : 3;
  return {group, group == 3 ? prefix : std::string(), number, path};
}

}  // namespace

std::vector<serial::PortEntry> numberDevicePaths(std::vector<std::string> paths) {
  std::sort(paths.begin(), paths.end(),
            [](const std::string& a, const std::string& b) { return keyOf(a) < keyOf(b); });
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  std::vector<serial::PortEntry> ports;
  int number = 1;
  for (const std::string& path : paths) {
    ports.push_back({number, path, "COM" + std::to_string(number) + "  " + path});
    ++number;
  }
  return ports;
}

std::vector<serial::PortEntry> enumeratePorts() {
  std::vector<serial::PortEntry> ports;
#ifdef Q_OS_WIN
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const std::string name = info.portName().toStdString();
    if (const std::optional<int> number = serial::comPortNumber(name)) {
      ports.push_back({*number, name, name});
    }
  }
  std::sort(ports.begin(), ports.end(), [](const serial::PortEntry& a, const serial::PortEntry& b) {
    return a.number < b.number;
  });
#else
  std::vector<std::string> paths;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    paths.push_back(info.systemLocation().toStdString());
  }
  ports = numberDevicePaths(std::move(paths));
#endif
  return ports;
}

}  // namespace qrix::qt
