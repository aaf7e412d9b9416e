#pragma once
// The commands of qrix-cli over an identified sensor session. Each returns the exit status:
// 0 success, 1 the sensor or the line failed (compare: something differs), 2 compare's error.

#include "cli/cli_options.h"

namespace qrix::cli {

class SensorSession;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// What a command checks before any port is opened: the files it reads must be readable as what
// they claim to be. Empty when all is well, else the message.
std::string checkInputFiles(const CliOptions& options);
// What a command checks before any port is opened about the file it will write: its folder can
// be written into, the names fit, it is no folder. Empty when all is well, else the message.
std::string checkOutputFiles(const CliOptions& options);

int runCommand(SensorSession& session, const CliOptions& options);

}  // namespace qrix::cli
