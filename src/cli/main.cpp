// qrix-cli: the scope's procedures on the command line, for production scripts and machines
// without a display. Arguments and input files are checked before any port is opened.

#include <QCoreApplication>
#include <cstdio>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/sensor_session.h"

#ifndef QRIX_VERSION
#define QRIX_VERSION "0"
#endif

int main(int argc, char** argv) {
  using namespace qrix::cli;
  const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CliOptions options = parseCliOptions(args);
  if (!options.error.empty()) {
    std::fprintf(stderr, "qrix-cli: %s (see --help)\n", options.error.c_str());
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(cliUsageText().data(), stdout);
    return kExitOk;
  }
  if (options.version) {
    std::printf("qrix-cli %s (Q-RIX-TB-MS-Scope Version 3.04)\n", QRIX_VERSION);
    return kExitOk;
  }
  if (const std::string fault = checkInputFiles(options); !fault.empty()) {
    std::fprintf(stderr, "qrix-cli: %s\n", fault.c_str());
    return kExitUsage;
  }
  QCoreApplication app(argc, argv);
  SensorSession session(options.port);
  const int status = runCommand(session, options);
  std::fflush(stdout);
  return status;
}
