#include "server_options.hpp"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

namespace qrix::sim {

namespace {

constexpr double kNoiseBytesPerAnswer = 3.0;

constexpr std::string_view kUsage =
    R"(usage: qrix-sensor-sim [options]

Simulates the Q-RIX master/slave sensor pair on a pseudo-terminal. The first
line of standard output is the device path to open at 19200 baud 8N1; every
request is logged on standard error. SIGTERM or SIGINT ends the server.

  --help                 show this text
  --reaction SECONDS     reaction time before an answer (default 0.002)
  --no-pacing            send answer bytes at once instead of at 19200 baud
hardware:
  --ccd-type N           1 (1024 pixels, 4096 subpixels) or 4 (512, 2048)
  --pcb-type N           0 sends the firmware text in word low bytes
  --firmware N           firmware version times 100, e.g. 304 or 305
  --adc-max N            video full scale, 1024 or 256
  --virt-pixel N         virtual pixels along the line
  --hw-type N            hardware type code, e.g. 0x2760
faults:
  --silent               never answer
  --answer-every K       answer only every K-th request that expects an answer
  --wrong-sync           answer frames start 0x00 0xAB
  --short-block          data blocks are 127 bytes instead of 128
  --extra-bytes N        append N garbage bytes to every answer
  --noise                send about 3 random bytes ahead of every answer
  --delay SECONDS        add to the reaction time
  --hang-up-after N      drop the line after N requests
  --silent-after N       answer the first N requests, then none
  --ignore-writes        drop parameter frames written to RAM or EEPROM
)";

std::optional<unsigned long> parseUnsigned(std::string_view text, unsigned long max) {
  const std::string copy(text);
  char* end = nullptr;
  errno = 0;
  const unsigned long value = std::strtoul(copy.c_str(), &end, 0);
  if (copy.empty() || copy[0] == '-' || *end != '\0' || errno != 0 || value > max) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> parseSeconds(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (copy.empty() || *end != '\0' || !(value >= 0.0 && value < 3600.0)) {
    return std::nullopt;
  }
  return value;
}

using HardwareWord = std::uint16_t HardwareInfo::*;

std::optional<HardwareWord> hardwareWordOf(std::string_view name) {
  if (name == "--pcb-type") {
    return &HardwareInfo::pcbType;
  }
  if (name == "--firmware") {
    return &HardwareInfo::softVersion;
  }
  if (name == "--adc-max") {
    return &HardwareInfo::adcMax;
  }
  if (name == "--virt-pixel") {
    return &HardwareInfo::ccdVirtPixel;
  }
  if (name == "--hw-type") {
    return &HardwareInfo::hwType;
  }
  return std::nullopt;
}

// Options that take no value; "--silent=no" must not silence the sensor.
bool isSwitch(std::string_view name) {
  return name == "--help" || name == "-h" || name == "--no-pacing" || name == "--silent" ||
         name == "--wrong-sync" || name == "--short-block" || name == "--noise";
}

}  // namespace

std::string_view usageText() {
  return kUsage;
}

ParsedOptions parseServerOptions(std::span<const std::string_view> args) {
  ParsedOptions result;
  ServerOptions& o = result.options;
  std::optional<std::uint16_t> ccdType;
  std::vector<std::pair<HardwareWord, std::uint16_t>> hardwareWords;

  for (std::size_t i = 0; i < args.size() && result.error.empty(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> inlineValue;
    if (const auto eq = name.find('='); eq != std::string_view::npos) {
      inlineValue = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    auto value = [&]() -> std::optional<std::string_view> {
      if (inlineValue) {
        return inlineValue;
      }
      if (i + 1 < args.size()) {
        return args[++i];
      }
      return std::nullopt;
    };
    auto bad = [&] { result.error = "bad or missing value for " + std::string(name); };
    auto word = [&]() -> std::optional<std::uint16_t> {
      const auto text = value();
      const auto number = text ? parseUnsigned(*text, 0xFFFF) : std::nullopt;
      if (!number) {
        bad();
      }
      return number ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*number))
                    : std::nullopt;
    };
    auto count = [&](int& field, unsigned long min) {
      const auto text = value();
      const auto number = text ? parseUnsigned(*text, 1000000) : std::nullopt;
      if (!number || *number < min) {
        return bad();
      }
      field = static_cast<int>(*number);
    };
    auto seconds = [&](double& field) {
      const auto text = value();
      const auto number = text ? parseSeconds(*text) : std::nullopt;
      if (!number) {
        return bad();
      }
      field = *number;
    };

    if (inlineValue && isSwitch(name)) {
      result.error = std::string(name) + " takes no value";
    } else if (name == "--help" || name == "-h") {
      result.help = true;
    } else if (name == "--no-pacing") {
      o.pacing = false;
    } else if (name == "--silent") {
      o.faults.silent = true;
    } else if (name == "--ignore-writes") {
      o.faults.ignoreWrites = true;
    } else if (name == "--wrong-sync") {
      o.faults.wrongSync = true;
    } else if (name == "--short-block") {
      o.faults.shortBlock = true;
    } else if (name == "--noise") {
      o.faults.noiseBytesPerAnswer = kNoiseBytesPerAnswer;
    } else if (name == "--reaction") {
      seconds(o.reactionTime);
    } else if (name == "--delay") {
      seconds(o.faults.extraDelay);
    } else if (name == "--answer-every") {
      count(o.faults.answerEvery, 1);
    } else if (name == "--extra-bytes") {
      count(o.faults.extraBytes, 0);
    } else if (name == "--hang-up-after") {
      count(o.faults.hangUpAfter, 0);
    } else if (name == "--silent-after") {
      count(o.faults.silentAfter, 0);
    } else if (name == "--ccd-type") {
      ccdType = word();
    } else if (const auto field = hardwareWordOf(name)) {
      if (const auto number = word()) {
        hardwareWords.emplace_back(*field, *number);
      }
    } else {
      result.error = "unknown option " + std::string(name);
    }
  }

  o.hardware = ccdType ? HardwareInfo::forCcdType(*ccdType) : HardwareInfo{};
  for (const auto& [field, number] : hardwareWords) {
    o.hardware.*field = number;
  }
  return result;
}

}  // namespace qrix::sim
