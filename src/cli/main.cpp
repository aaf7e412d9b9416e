// qrix-cli: the scope's procedures on the command line, for production scripts and machines
// without a display. Arguments, input files and output paths are checked before any port is
// opened.

#include <QCoreApplication>
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/dfq_command.h"
#include "cli/interrupts.h"
#include "cli/sensor_session.h"
#include "cli/stats_command.h"
#include "qrix_version.h"
#include "runtime/files.h"

namespace {

// Whether the command's result goes to stdout.
bool printsResults(const qrix::cli::CliOptions& o) {
  using qrix::cli::Command;
  switch (o.command) {
    case Command::Info:
    case Command::Compare: return true;
    case Command::Get:
    case Command::Video:
    case Command::Data: return o.file.empty();
    case Command::Monitor: return o.mqtt.empty();
    default: return o.help || o.version;
  }
}

int run(int argc, char** argv) {
  using namespace qrix::cli;
  const bool stdoutClosed = qrix::files::plugClosedStandardStreams();
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  // These two read a recorder file only: no port, no event loop.
  if (!args.empty() && args[0] == "stats") {
    return runStatsCommand({args.begin() + 1, args.end()}, stdoutClosed);
  }
  if (!args.empty() && args[0] == "dfq") {
    return runDfqCommand({args.begin() + 1, args.end()});
  }
  const CliOptions options = parseCliOptions(args);
  if (!options.error.empty()) {
    std::fprintf(stderr, "qrix-cli: %s (see --help)\n", options.error.c_str());
    return kExitUsage;
  }
  if (stdoutClosed && printsResults(options)) {
    std::fprintf(stderr, "qrix-cli: cannot write the output: stdout is closed\n");
    return kExitFailed;
  }
  if (options.help) {
    std::fputs(cliUsageText().data(), stdout);
    return kExitOk;
  }
  if (options.version) {
    std::printf("qrix-cli %s (Q-RIX-TB-MS-Scope %s)\n", QRIX_VERSION, QRIX_SOFT_VERSION);
    return kExitOk;
  }
  if (const std::string fault = checkInputFiles(options); !fault.empty()) {
    std::fprintf(stderr, "qrix-cli: %s\n", fault.c_str());
    return kExitUsage;
  }
  if (const std::string fault = checkOutputFiles(options); !fault.empty()) {
    std::fprintf(stderr, "qrix-cli: %s\n", fault.c_str());
    return kExitFailed;
  }
  installInterruptHandlers();
  QCoreApplication app(argc, argv);
  SensorSession session(options.port);
  return runCommand(session, options);
}

}  // namespace

int main(int argc, char** argv) {
  int status = qrix::cli::kExitFailed;
  try {
    status = run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qrix-cli: %s\n", e.what());
    return qrix::cli::kExitFailed;
  } catch (...) {
    std::fprintf(stderr, "qrix-cli: unexpected error\n");
    return qrix::cli::kExitFailed;
  }
  return qrix::files::finishStdout("qrix-cli", status);
}
