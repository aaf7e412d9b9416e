#pragma once

// Command line of qrix-sensor-sim.

#include <span>
#include <string>
#include <string_view>

#include "qrix/sim/faults.hpp"
#include "qrix/sim/hardware_info.hpp"
#include "qrix/sim/sensor_pair.hpp"

namespace qrix::sim {

struct ServerOptions {
  HardwareInfo hardware;
  Faults faults;
  double reactionTime = SensorPair::kDefaultReactionTime;
  bool pacing = true;
};

struct ParsedOptions {
  ServerOptions options;
  bool help = false;
  std::string error;  // empty when the command line was understood
};

// `args` excludes the program name. --ccd-type picks a consistent sensor
// description first, wherever it stands; the other hardware options then
// override single words of it.
ParsedOptions parseServerOptions(std::span<const std::string_view> args);

std::string_view usageText();

}  // namespace qrix::sim
