#pragma once
// One session with the sensor pair: the program on the command line's runtime, without a
// window, the port opened and the sensor identified by the same services the window's start-up
// uses. The status line's texts go to stderr as the program gives them.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_runtime.h"
#include "cli/progress_bar.h"
#include "program/hardware_answer.h"
#include "program/program.h"

namespace qrix::cli {

class SensorSession {
 public:
  // Opens `port` ("sim", a device path or a port number) and identifies the sensor.
  explicit SensorSession(const std::string& port);
  ~SensorSession();
  SensorSession(const SensorSession&) = delete;
  SensorSession& operator=(const SensorSession&) = delete;

  Program& program() { return program_; }
  CliRuntime& runtime() { return runtime_; }
  // The line check passed and the hardware information and the three parameter frames were
  // answered, as the window takes a sensor: the firmware text may be missing (a noisy line
  // spoils it, since it carries no sync word).
  bool identified() const { return identified_; }
  // Why the sensor is not identified, for the user: the port that could not be opened and the
  // system's reason, a port that is no serial port, a lost line, or the status line's text.
  std::string failureText();
  // No exchange since the identification failed (time-out, wrong echo, out of step, line lost,
  // a short or surplus block), and the line is still there.
  bool noFailedExchange() const;
  // The last text the status line was given.
  const std::string& statusLine() const { return status_; }
  // From now on a signal (SIGINT, SIGTERM, SIGHUP) ends the program at the next pump: the port
  // is closed, which frees its lock, and the exit status is 128 + the signal. What a command
  // must finish first sets its own handler on the runtime instead; this is where it starts.
  void endOnInterrupt();
  // The bar on stderr; the status texts clear it before they are written.
  ProgressBar& progress() { return progress_; }
  // The hardware words of the identification, when they were answered.
  const std::optional<HardwareWords>& hardware() const { return hardware_; }
  // The sensor's firmware text, as the identification read it; none when it was not read.
  const std::optional<std::string>& firmwareText() const { return firmware_; }

 private:
  void echoStatus(std::string_view text);

  CliRuntime runtime_;
  ProgressBar progress_{stderr};
  Program program_;
  std::string port_;
  std::string status_;
  bool identified_ = false;
  std::optional<HardwareWords> hardware_;
  std::optional<std::string> firmware_;
  // The failures counted by the end of the identification.
  std::uint64_t failuresAfterIdentification_ = 0;
};

// The record as the window takes a parameter read: within the limits the line length sets (so
// that later requests carry what the window's would), with the threshold lines drawn from it.
void takeParameterRecord(Program& p);

}  // namespace qrix::cli
