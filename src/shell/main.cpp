// qrix-scope: set-up and display tool for a Q-RIX master/slave sensor pair.
// Composes the Qt runtime, the serial ports (real devices, a device path, or the built-in
// simulated sensor pair) and the program, then runs it.

#include <QApplication>
#include <QScopeGuard>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "program/panel_table.h"
#include "program/program.h"
#include "qrix/sim/sensor_pair.hpp"
#include "qrix_version.h"
#include "recorder/record_batch.h"
#include "runtime/files.h"
#include "runtime/qt/qt_port_list.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/qt/qt_serial_device.h"
#include "sensor_link/port_setup.h"
#include "shell/scope_options.h"
#include "shell/startup.h"
#include "sim_line/sim_line_device.h"

namespace {

bool hasDisplay() {
  for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* v = std::getenv(var);
    if (v && *v) {
      return true;
    }
  }
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

int run(int argc, char** argv) {
  // The serial port must never take the place of a closed standard stream.
  const bool stdoutClosed = qrix::files::plugClosedStandardStreams();
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const qrix::ScopeOptions cli = qrix::parseScopeOptions(args);
  if (!cli.error.empty()) {
    std::fprintf(stderr, "qrix-scope: %s (see --help)\n", cli.error.c_str());
    return 2;
  }
  if ((cli.help || cli.version) && stdoutClosed) {
    std::fprintf(stderr, "qrix-scope: cannot write the output: stdout is closed\n");
    return 1;
  }
  if (cli.help) {
    std::fputs(qrix::scopeUsageText().data(), stdout);
    return 0;
  }
  if (cli.version) {
    std::printf("qrix-scope %s (Q-RIX-TB-MS-Scope %s)\n", QRIX_VERSION, QRIX_SOFT_VERSION);
    return 0;
  }

  if (!hasDisplay()) {
    std::fprintf(stderr, "qrix-scope: no display, drawing off screen\n");
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("qrix-scope");

  qrix::QtRuntime rt([](int id) { return qrix::panelTemplate(id); });
  qrix::serial::SerialLibrary& serial = rt.serial();

  // The enumerated devices, then the built-in simulator under a number of its own.
  serial.setPorts(qrix::qt::enumeratePorts());
  serial.addPort(qrix::serial::kSimDevice, "SIM  simulated sensor pair");
  auto sensor = std::make_shared<qrix::sim::SensorPair>();
  serial.setOpener(
      [&rt, sensor](const qrix::serial::PortEntry& entry,
                    const qrix::serial::OpenSettings& settings,
                    qrix::serial::OpenError& error) -> std::unique_ptr<qrix::serial::SerialDevice> {
        if (entry.device == qrix::serial::kSimDevice) {
          return std::make_unique<qrix::serial::SimLineDevice>(sensor,
                                                               [&rt] { return rt.Timer(); });
        }
        return qrix::qt::openQtSerialDevice(entry, settings, error);
      });

  rt.followSerialDevices();

  qrix::StartOptions options;
  if (!cli.port.empty()) {
    options.port = qrix::portOfArgument(serial, cli.port);
  }

  qrix::Program program(rt);
  // Whichever way the scope ends, the counters come last.
  const auto printStats = qScopeGuard([&] {
    if (cli.stats) {
      std::fputs(program.st.health.summary().c_str(), stderr);
    }
  });
  if (!cli.batch) {
    return qrix::WinMain(program, options);
  }

  if (qrix::StartUp(program, options) < 0) {
    return 1;
  }
  const auto statusLine = [&program] {
    return program.ui().GetCtrlText(program.st.pHandle, qrix::ids::main::TEXTStatus);
  };
  bool complete = false;
  // The file is replaced only when there is a sensor to record from.
  if (!program.st.lineChecked) {
    std::fprintf(stderr, "qrix-scope: no recording, %s left as it was: %s\n",
                 cli.batch->path.c_str(), statusLine().c_str());
  } else {
    complete = qrix::recordBatch(program, *cli.batch);
    if (!complete) {
      std::fprintf(stderr, "qrix-scope: recording incomplete: %s\n", statusLine().c_str());
    }
  }
  qrix::ShutDown(program);
  return complete ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 1;
  try {
    status = run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qrix-scope: %s\n", e.what());
    return 1;
  } catch (...) {
    std::fprintf(stderr, "qrix-scope: unexpected error\n");
    return 1;
  }
  return qrix::files::finishStdout("qrix-scope", status);
}
