#include "support/scope_fixture.h"

#include <gtest/gtest.h>

#include "sim_line/sim_line_device.h"

namespace qrix::testing {

namespace {
constexpr const char* kSensorDevice = "/dev/ttyS0";
}  // namespace

Scope::Scope(sim::HardwareInfo hw, sim::Faults faults, std::string programDir)
    : sensor(std::make_shared<sim::SensorPair>(hw, faults)),
      rt([](int id) { return panelTemplate(id); }, std::move(programDir)),
      p(rt) {
  // The simulated pair stands behind COM1 as a real sensor would, and behind the simulator's
  // own entry once a test adds it.
  rt.serial().setPorts({{1, kSensorDevice, "COM1  /dev/ttyS0"}});
  rt.serial().setOpener([this](const serial::PortEntry& entry, const serial::OpenSettings&,
                               serial::OpenError& error) -> std::unique_ptr<serial::SerialDevice> {
    std::unique_ptr<serial::TimedInputDevice> line;
    if (responder_) {
      line = std::make_unique<ScriptedDevice>(responder_, [this] { return rt.Timer(); });
    } else if (entry.device != kSensorDevice && entry.device != serial::kSimDevice) {
      error.code = serial::kErrNoSerialPort;
      return nullptr;
    } else {
      line = std::make_unique<serial::SimLineDevice>(sensor, [this] { return rt.Timer(); });
    }
    line_ = line.get();
    return line;
  });
}

std::vector<std::uint8_t> Scope::simulatorAnswer(const std::vector<std::uint8_t>& request) {
  std::vector<std::uint8_t> bytes;
  for (const sim::Transmission& t : sensor->receive(request, rt.Timer())) {
    bytes.insert(bytes.end(), t.bytes.begin(), t.bytes.end());
  }
  return bytes;
}

int Scope::start() {
  return StartUp(p, {});
}

int Scope::startOffline() {
  StartOptions options;
  options.portSetup = [](Program&) {};
  return StartUp(p, options);
}

void Scope::click(int panel, int control) {
  ui().dispatch(panel, control, ui::EVENT_LEFT_CLICK);
  ui().dispatch(panel, control, ui::EVENT_COMMIT);
}

void Scope::commit(int panel, int control) {
  ui().dispatch(panel, control, ui::EVENT_COMMIT);
}

void Scope::setValue(int panel, int control, double value) {
  ui().SetCtrlVal(panel, control, value);
  ui().dispatch(panel, control, ui::EVENT_VAL_CHANGED);
}

void Scope::rightClick(int panel, int control) {
  ui().dispatch(panel, control, ui::EVENT_RIGHT_CLICK);
}

void Scope::commitPastDimming(int panel, int control) {
  const ui::Callback* fn = rt.callbacks().find(ui().control(panel, control)->callback);
  if (!fn) {
    ADD_FAILURE() << "control " << control << " of panel " << panel << " has no callback";
    return;
  }
  (*fn)(panel, control, ui::EVENT_COMMIT, 0, 0);
}

std::vector<std::uint16_t> Scope::commands() const {
  std::vector<std::uint16_t> out;
  for (const auto& r : sensor->requests()) {
    out.push_back(r.command);
  }
  return out;
}

}  // namespace qrix::testing
