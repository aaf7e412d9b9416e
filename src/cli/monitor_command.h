#pragma once
// qrix-cli monitor: RUN against the sensor pair, each answer handed on as one JSON object, to
// stdout (one a line) or to an MQTT broker. The measuring never waits for the broker: the
// publisher queues, and its events reach the RUN loop between two answers.

#include <string>

#include "cli/cli_options.h"

namespace qrix::cli {

class SensorSession;

// What can be checked before any port is opened: the CA file can be read and the credentials
// (file or environment) are usable. Empty when all is well, else the message.
std::string checkMonitorSetup(const CliOptions& options);

int runMonitor(SensorSession& session, const CliOptions& options);

}  // namespace qrix::cli
