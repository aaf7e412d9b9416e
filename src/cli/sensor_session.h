#pragma once
// One session with the sensor pair: the program on the command line's runtime, the port opened
// and the sensor identified exactly as the window does at start-up. The status line's texts go
// to stderr as the program writes them.

#include <functional>
#include <memory>
#include <string>

#include "cli/cli_runtime.h"
#include "cli/progress_bar.h"
#include "program/program.h"

namespace qrix::cli {

class StatusEcho;

class SensorSession {
 public:
  // Opens `port` ("sim", a device path or a port number) and identifies the sensor.
  explicit SensorSession(const std::string& port);
  ~SensorSession();
  SensorSession(const SensorSession&) = delete;
  SensorSession& operator=(const SensorSession&) = delete;

  Program& program() { return program_; }
  CliRuntime& runtime() { return runtime_; }
  // The line check passed and every exchange of the identification was answered.
  bool identified() const { return identified_; }
  // No exchange since the session began failed (time-out, wrong echo, out of step, line lost,
  // a short or surplus block).
  bool noFailedExchange() const;
  std::string statusLine();
  // The bar on stderr; the status texts clear it before they are written.
  ProgressBar& progress() { return progress_; }
  // Hears of every value a control takes (after the status echo has seen it).
  void watchValues(std::function<void(int panel, int control)> watch);
  // The sensor's firmware text, as the identification showed it.
  const std::string& firmwareText() const { return firmware_; }

 private:
  CliRuntime runtime_;
  ProgressBar progress_{stderr};
  Program program_;
  std::unique_ptr<StatusEcho> echo_;
  bool identified_ = false;
  std::string firmware_;
};

}  // namespace qrix::cli
