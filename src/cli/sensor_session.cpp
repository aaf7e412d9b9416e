#include "cli/sensor_session.h"

#include <cstdio>
#include <cstdlib>

#include "cli/interrupts.h"
#include "program/panel_table.h"
#include "qrix/sim/sensor_pair.hpp"
#include "runtime/qt/qt_port_list.h"
#include "runtime/qt/qt_serial_device.h"
#include "sensor_link/port_setup.h"
#include "shell/startup.h"
#include "sim_line/sim_line_device.h"

namespace qrix::cli {

// Writes each new text of the status line to stderr, the moment the program shows it.
class StatusEcho : public ui::UiObserver {
 public:
  StatusEcho(Program& p, ProgressBar& progress) : p_(p), progress_(progress) {}
  std::function<void(int panel, int control)> watch;
  void panelLoaded(int) override {}
  void panelDiscarded(int) override {}
  void changed(int panel, int control, ui::Aspect aspect) override {
    if (aspect != ui::Aspect::Value) return;
    if (watch) watch(panel, control);
    if (control != ids::main::TEXTStatus || panel != p_.st.pHandle) return;
    const std::string text = p_.ui().GetCtrlText(panel, control);
    if (text == last_) return;
    last_ = text;
    progress_.interrupt();
    std::fprintf(stderr, "%s\n", text.c_str());
  }

 private:
  Program& p_;
  ProgressBar& progress_;
  std::string last_;
};

namespace {

// Every exchange of this kind during the identification was answered, and at least `wanted`.
bool allAnswered(const link::LinkHealth& health, link::ExchangeKind kind, std::uint64_t wanted) {
  const link::ExchangeCounters c = health.counters(kind);
  return c.failures() == 0 && c.answers >= wanted;
}

}  // namespace

SensorSession::SensorSession(const std::string& port)
    : runtime_([](int id) { return panelTemplate(id); }), program_(runtime_), port_(port) {
  serial::SerialLibrary& serial = runtime_.serial();
  // Only a port number needs the system's list; a script naming a path saves the scan.
  if (!port.empty() && port.find_first_not_of("0123456789") == std::string::npos)
    serial.setPorts(qt::enumeratePorts());
  serial.addPort(serial::kSimDevice, "SIM  simulated sensor pair");
  auto sensor = std::make_shared<sim::SensorPair>();
  serial.setOpener([this, sensor](
                       const serial::PortEntry& entry, const serial::OpenSettings& settings,
                       serial::OpenError& error) -> std::unique_ptr<serial::SerialDevice> {
    if (entry.device == serial::kSimDevice)
      return std::make_unique<serial::SimLineDevice>(sensor, [this] { return runtime_.Timer(); });
    return qt::openQtSerialDevice(entry, settings, error);
  });
  echo_ = std::make_unique<StatusEcho>(program_, progress_);
  runtime_.ui().setObserver(echo_.get());
  endOnInterrupt();

  StartOptions options;
  options.port = portOfArgument(serial, port);
  if (StartUp(program_, options) < 0) return;
  const link::LinkHealth& health = program_.st.health;
  failuresAfterIdentification_ = health.totals().failures();
  identified_ = program_.st.lineChecked && !health.lost() &&
                allAnswered(health, link::ExchangeKind::HardwareInfo, 1) &&
                allAnswered(health, link::ExchangeKind::ParameterRead, 3);
  // The identification ends on the firmware text in the status line.
  if (identified_ && allAnswered(health, link::ExchangeKind::FirmwareText, 1))
    firmware_ = program_.st.szStatus;
}

std::string SensorSession::failureText() {
  const serial::SerialLibrary& serial = program_.serial();
  const std::string name = port_ == serial::kSimDevice ? "the simulated pair" : port_;
  const link::LinkHealth& health = program_.st.health;
  if (health.notOpened() || (!serial.isOpen(program_.st.com) && !health.lost())) {
    const serial::OpenError& e = serial.lastOpenError();
    if (e.notSerialPort) return name + " is not a serial port";
    if (e.code < 0)
      return "cannot open " + name + ": " + (e.reason.empty() ? statusLine() : e.reason);
  }
  if (health.lost()) return "serial port lost";
  return "no sensor identified: " + statusLine();
}

SensorSession::~SensorSession() {
  progress_.finish();
  ShutDown(program_);
  runtime_.ui().setObserver(nullptr);
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

void SensorSession::watchValues(std::function<void(int panel, int control)> watch) {
  echo_->watch = std::move(watch);
}

bool SensorSession::noFailedExchange() const {
  const link::LinkHealth& health = program_.st.health;
  return health.totals().failures() == failuresAfterIdentification_ && !health.lost();
}

std::string SensorSession::statusLine() {
  return program_.ui().GetCtrlText(program_.st.pHandle, ids::main::TEXTStatus);
}

}  // namespace qrix::cli
