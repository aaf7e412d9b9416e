#include "cli/sensor_session.h"

#include <cstdio>
#include <cstdlib>

#include "cli/interrupts.h"
#include "params/record_limits.h"
#include "qrix/sim/sensor_pair.hpp"
#include "runtime/qt/qt_port_list.h"
#include "runtime/qt/qt_serial_device.h"
#include "services/identify.h"
#include "services/sensor_line.h"
#include "sim_line/sim_line_device.h"

namespace qrix::cli {

namespace {

// Every exchange of this kind during the identification was answered, and at least `wanted`.
bool allAnswered(const link::LinkHealth& health, link::ExchangeKind kind, std::uint64_t wanted) {
  const link::ExchangeCounters c = health.counters(kind);
  return c.failures() == 0 && c.answers >= wanted;
}

}  // namespace

void takeParameterRecord(Program& p) {
  LimitParameters(p);
  SetThresholds(p);
}

SensorSession::SensorSession(const std::string& port)
    : runtime_(), program_(runtime_), port_(port) {
  serial::SerialLibrary& serial = runtime_.serial();
  // Only a port number needs the system's list; a script naming a path saves the scan.
  if (!port.empty() && port.find_first_not_of("0123456789") == std::string::npos) {
    serial.setPorts(qt::enumeratePorts());
  }
  serial.addPort(serial::kSimDevice, "SIM  simulated sensor pair");
  auto sensor = std::make_shared<sim::SensorPair>();
  serial.setOpener([this, sensor](
                       const serial::PortEntry& entry, const serial::OpenSettings& settings,
                       serial::OpenError& error) -> std::unique_ptr<serial::SerialDevice> {
    if (entry.device == serial::kSimDevice) {
      return std::make_unique<serial::SimLineDevice>(sensor, [this] { return runtime_.Timer(); });
    }
    return qt::openQtSerialDevice(entry, settings, error);
  });
  program_.onStatusShown = [this](std::string_view text) { echoStatus(text); };
  endOnInterrupt();

  ProgramState& st = program_.st;
  st.com = portOfArgument(serial, port);
  followLineLoss(program_);
  if (openLine(program_, st.com)) {
    const Identification id = identifySensor(program_);
    if (id.lineChecked) {
      takeParameterRecord(program_);
    }
    hardware_ = id.hardware;
    const link::LinkHealth& health = st.health;
    failuresAfterIdentification_ = health.totals().failures();
    identified_ = st.lineChecked && hardware_ && !health.lost() &&
                  allAnswered(health, link::ExchangeKind::HardwareInfo, 1) &&
                  allAnswered(health, link::ExchangeKind::ParameterRead, 3);
    if (identified_ && allAnswered(health, link::ExchangeKind::FirmwareText, 1)) {
      firmware_ = id.firmware;
    }
  }
  // The identification ends on its outcome in the status line.
  program_.showStoredStatus();
}

void SensorSession::echoStatus(std::string_view text) {
  if (text == status_) {
    return;
  }
  status_ = std::string(text);
  progress_.interrupt();
  std::fprintf(stderr, "%s\n", status_.c_str());
}

std::string SensorSession::failureText() {
  const serial::SerialLibrary& serial = program_.serial();
  const std::string name = port_ == serial::kSimDevice ? "the simulated pair" : port_;
  const link::LinkHealth& health = program_.st.health;
  if (health.notOpened() || (!serial.isOpen(program_.st.com) && !health.lost())) {
    const serial::OpenError& e = serial.lastOpenError();
    if (e.notSerialPort) {
      return name + " is not a serial port";
    }
    if (e.code < 0) {
      return "cannot open " + name + ": " + (e.reason.empty() ? statusLine() : e.reason);
    }
  }
  if (health.lost()) {
    return "serial port lost";
  }
  return "no sensor identified: " + statusLine();
}

SensorSession::~SensorSession() {
  progress_.finish();
  program_.serial().CloseCom(program_.st.com);
  program_.onStatusShown = nullptr;
}

void SensorSession::endOnInterrupt() {
  runtime_.onInterrupt([this](int signal) {
    progress_.finish();
    std::fprintf(stderr, "qrix-cli: ended by %s\n", signalName(signal));
    program_.serial().CloseCom(program_.st.com);
    std::fflush(stdout);
    std::_Exit(interruptedStatus(signal));
  });
}

bool SensorSession::noFailedExchange() const {
  const link::LinkHealth& health = program_.st.health;
  return health.totals().failures() == failuresAfterIdentification_ && !health.lost();
}

}  // namespace qrix::cli
