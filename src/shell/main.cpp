// qrix-scope: set-up and display tool for a Q-RIX master/slave sensor pair.
// Composes the Qt runtime, the serial ports (real devices, a device path, or the built-in
// simulated sensor pair) and the program, then runs it.

#include <QApplication>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "link/port_setup.h"
#include "qrix/sim/sensor_pair.hpp"
#include "recorder/record_batch.h"
#include "runtime/qt/qt_port_list.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/qt/qt_serial_device.h"
#include "runtime/sim_line_device.h"
#include "shell/panel_table.h"
#include "shell/program.h"
#include "shell/startup.h"

#ifndef QRIX_VERSION
#define QRIX_VERSION "0"
#endif

namespace {

void printHelp() {
  std::printf(
      "Usage: qrix-scope [--port VALUE] [--record PATH [--rec-interval I] [--rec-samples N]]\n"
      "Set-up and display tool for a Q-RIX thru-beam master/slave sensor pair.\n\n"
      "  --port VALUE        serial port to open at start-up:\n"
      "                      a port number as the port list shows it (default 1),\n"
      "                      a device path such as /dev/ttyUSB0 or /dev/pts/3,\n"
      "                      or 'sim' for the built-in simulated sensor pair\n"
      "  --record PATH       batch recording: after the identification, record into PATH\n"
      "                      (replaced if it exists) as the recorder's START does, then\n"
      "                      quit; exit status 0 only when every sample was written,\n"
      "                      otherwise 1 with the status line on stderr\n"
      "  --rec-interval I    seconds between samples, 0..65535 (default 1)\n"
      "  --rec-samples N     samples to record, 0..65535 (default 100)\n"
      "  --help              show this text\n"
      "  --version           show the version\n\n"
      "Without a display the window is drawn off screen (QT_QPA_PLATFORM=offscreen).\n");
}

// A whole number 0..65535, or nothing.
std::optional<std::uint16_t> wordArgument(const std::string& text) {
  unsigned value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(value);
}

bool hasDisplay() {
  for (const char* var : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* v = std::getenv(var);
    if (v && *v) return true;
  }
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  std::string portArg;
  std::optional<qrix::BatchRecording> batch;
  auto recording = [&batch]() -> qrix::BatchRecording& {
    if (!batch) batch.emplace();
    return *batch;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--rec-interval" || arg == "--rec-samples") && i + 1 < argc) {
      const std::optional<std::uint16_t> value = wordArgument(argv[++i]);
      if (!value) {
        std::fprintf(stderr, "qrix-scope: %s takes a whole number 0..65535\n", arg.c_str());
        return 2;
      }
      (arg == "--rec-interval" ? recording().interval : recording().samples) = value;
      continue;
    }
    if (arg == "--record" && i + 1 < argc) {
      recording().path = argv[++i];
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      printHelp();
      return 0;
    }
    if (arg == "--version") {
      std::printf("qrix-scope %s (Q-RIX-TB-MS-Scope Version 3.04)\n", QRIX_VERSION);
      return 0;
    }
    if (arg == "--port" && i + 1 < argc) {
      portArg = argv[++i];
    } else if (arg.rfind("--port=", 0) == 0) {
      portArg = arg.substr(7);
    } else {
      std::fprintf(stderr, "qrix-scope: unknown option '%s' (see --help)\n", arg.c_str());
      return 2;
    }
  }

  if (batch && batch->path.empty()) {
    std::fprintf(stderr, "qrix-scope: --rec-interval and --rec-samples need --record PATH\n");
    return 2;
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
  serial.setOpener([&rt, sensor](const qrix::serial::PortEntry& entry,
                                 const qrix::serial::OpenSettings& settings,
                                 int& error) -> std::unique_ptr<qrix::serial::SerialDevice> {
    if (entry.device == qrix::serial::kSimDevice)
      return std::make_unique<qrix::serial::SimLineDevice>(sensor, [&rt] { return rt.Timer(); });
    return qrix::qt::openQtSerialDevice(entry, settings, error);
  });

  qrix::StartOptions options;
  if (!portArg.empty()) options.port = qrix::portOfArgument(serial, portArg);

  qrix::Program program(rt);
  if (!batch) return qrix::WinMain(program, options);

  if (qrix::StartUp(program, options) < 0) return 1;
  const bool complete = qrix::recordBatch(program, *batch);
  if (!complete) {
    const std::string status =
        program.ui().GetCtrlText(program.st.pHandle, qrix::ids::main::TEXTStatus);
    std::fprintf(stderr, "qrix-scope: recording incomplete: %s\n", status.c_str());
  }
  qrix::ShutDown(program);
  return complete ? 0 : 1;
}
