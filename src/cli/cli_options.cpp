#include "cli/cli_options.h"

#include <charconv>
#include <cmath>
#include <set>

#include "mqtt/mqtt_url.h"

namespace qrix::cli {

namespace {

struct CommandName {
  std::string_view name;
  Command command;
};
constexpr CommandName kCommands[] = {
    {"info", Command::Info},       {"get", Command::Get},       {"send", Command::Send},
    {"compare", Command::Compare}, {"record", Command::Record}, {"video", Command::Video},
    {"data", Command::Data},       {"flash", Command::Flash},   {"monitor", Command::Monitor},
};

std::optional<std::uint16_t> parseCount(std::string_view text) {
  std::uint16_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// Which options each command takes; anything else is a usage error, not silently ignored.
bool takes(Command command, std::string_view option) {
  if (option == "--port" || option == "--help" || option == "--version") {
    return true;
  }
  switch (command) {
    case Command::Info: return option == "--json";
    case Command::Get: return option == "--json" || option == "--eeprom" || option == "-o";
    case Command::Send: return option == "--eeprom";
    case Command::Compare: return option == "--json";
    case Command::Record: return option == "--interval" || option == "--samples";
    case Command::Video:
    case Command::Data: return option == "-o";
    case Command::Flash: return option == "--master" || option == "--slave";
    case Command::Monitor:
      return option == "--samples" || option == "--mqtt" || option == "--cafile" ||
             option == "--credentials" || option == "--stats";
    case Command::None: return false;
  }
  return false;
}

std::string check(const CliOptions& o, const std::vector<std::string_view>& operands,
                  const std::set<std::string_view>& seen) {
  if (o.help || o.version) {
    return {};
  }
  if (o.command == Command::None) {
    return "no command given";
  }
  for (std::string_view option : seen) {
    if (!takes(o.command, option)) {
      return std::string(option) + " does not apply to " + nameOf(o.command);
    }
  }
  const std::size_t wanted =
      o.command == Command::Send || o.command == Command::Record || o.command == Command::Flash ? 1
      : o.command == Command::Compare ? operands.size() <= 1 ? operands.size() : 1
                                      : 0;
  if (operands.size() > wanted) {
    return "unexpected argument '" + std::string(operands[wanted]) + "'";
  }
  if (operands.size() < wanted) {
    return std::string(nameOf(o.command)) + " needs a file";
  }
  if (o.command == Command::Record && (!seen.count("--interval") || !seen.count("--samples"))) {
    return "record needs --interval and --samples";
  }
  if (o.command == Command::Flash && !o.master) {
    return "flash needs --master or --slave";
  }
  if (o.command == Command::Monitor && o.mqtt.empty() &&
      (seen.count("--cafile") || seen.count("--credentials"))) {
    return "--cafile and --credentials go with --mqtt";
  }
  if (o.json && seen.count("-o")) {
    return "--json prints to stdout and -o writes a file: take one";
  }
  return {};
}

}  // namespace

std::optional<double> parseFiniteNumber(std::string_view text) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

const char* nameOf(Command command) {
  for (const CommandName& c : kCommands) {
    if (c.command == command) {
      return c.name.data();
    }
  }
  return "";
}

CliOptions parseCliOptions(const std::vector<std::string_view>& args) {
  CliOptions o;
  std::vector<std::string_view> operands;
  std::set<std::string_view> seen;
  const auto fail = [&o](std::string message) {
    o.error = std::move(message);
    return o;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    const bool option = arg.size() > 1 && arg[0] == '-';
    if (!option) {
      if (o.command != Command::None) {
        operands.push_back(arg);
        continue;
      }
      for (const CommandName& c : kCommands) {
        if (c.name == arg) {
          o.command = c.command;
        }
      }
      if (o.command == Command::None) {
        return fail("unknown command '" + std::string(arg) + "'");
      }
      continue;
    }
    // "--port=/dev/ttyUSB0" as well as "--port /dev/ttyUSB0", as the scope takes them.
    std::optional<std::string_view> attached;
    if (const std::size_t eq = arg.find('='); arg.starts_with("--") && eq != arg.npos) {
      attached = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
    }
    if (!seen.insert(arg).second) {
      return fail(std::string(arg) + " given twice");
    }
    const bool hasValue = arg == "--port" || arg == "-o" || arg == "--interval" ||
                          arg == "--samples" || arg == "--mqtt" || arg == "--cafile" ||
                          arg == "--credentials";
    if (attached && !hasValue) {
      return fail(std::string(arg) + " takes no value");
    }
    std::string_view value;
    if (hasValue) {
      if (attached) {
        value = *attached;
      } else if (i + 1 < args.size()) {
        value = args[++i];
      }
      if (value.empty()) {
        return fail(std::string(arg) + " needs a value");
      }
    }
    if (arg == "--help") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "--json") {
      o.json = true;
    } else if (arg == "--eeprom") {
      o.eeprom = true;
    } else if (arg == "--port") {
      o.port = value;
    } else if (arg == "-o") {
      o.file = value;
    } else if (arg == "--interval" || arg == "--samples") {
      const std::optional<std::uint16_t> n = parseCount(value);
      if (!n) {
        return fail(std::string(arg) + " needs a whole number from 0 to 65535");
      }
      (arg == "--interval" ? o.interval : o.samples) = *n;
    } else if (arg == "--mqtt") {
      o.mqtt = value;
    } else if (arg == "--cafile") {
      o.caFile = value;
    } else if (arg == "--credentials") {
      o.credentials = value;
    } else if (arg == "--stats") {
      o.stats = true;
    } else if (arg == "--master" || arg == "--slave") {
      if (o.master) {
        return fail("flash takes one of --master and --slave");
      }
      o.master = arg == "--master";
    } else {
      return fail("unknown option " + std::string(arg));
    }
  }
  if (std::string fault = check(o, operands, seen); !fault.empty()) {
    return fail(std::move(fault));
  }
  if ((o.command == Command::Record ||
       (o.command == Command::Monitor && seen.count("--samples"))) &&
      o.samples == 0) {
    return fail("--samples must be at least 1");
  }
  if (o.command == Command::Monitor && !o.mqtt.empty()) {
    mqtt::MqttUrl url;
    std::string reason;
    if (!mqtt::parseMqttUrl(o.mqtt, url, reason)) {
      return fail("--mqtt " + o.mqtt + ": " + reason);
    }
    if (!o.caFile.empty() && !url.tls) {
      return fail("--cafile needs an mqtts:// address");
    }
  }
  if (!operands.empty()) {
    if (operands[0].empty()) {
      return fail("empty file name");
    }
    o.file = operands[0];
  }
  return o;
}

std::string_view cliUsageText() {
  return "Usage: qrix-cli [--port sim|PATH|N] COMMAND [ARGUMENTS]\n"
         "\n"
         "Commands:\n"
         "  info [--json]                  identify the sensor pair: hardware words, CCD\n"
         "                                 description, firmware text\n"
         "  get [--eeprom] [-o FILE | --json]\n"
         "                                 read the three parameter frames (RAM, or EEPROM);\n"
         "                                 print them field by field or write FILE as a\n"
         "                                 parameter file\n"
         "  send FILE [--eeprom]           write a parameter file to RAM (or EEPROM), read the\n"
         "                                 frames back and compare them\n"
         "  compare [FILE] [--json]        RAM against EEPROM (and FILE): the differing fields\n"
         "  record FILE --interval I --samples N\n"
         "                                 record N samples every I seconds into FILE\n"
         "  video [-o CSV], data [-o CSV]  one VIDEO or DATA pass: the video curves and their\n"
         "                                 thresholds, or the measurement buffers and their\n"
         "                                 limits, as CSV (on stdout without -o)\n"
         "  flash TABLE --master|--slave   write a linearisation table into the external flash\n"
         "  monitor [--samples N] [--mqtt URL [--cafile FILE] [--credentials FILE]] [--stats]\n"
         "                                 RUN without end (or N answers): each answer as one\n"
         "                                 JSON line on stdout, or published to the MQTT topic\n"
         "                                 of URL (mqtt://HOST[:PORT]/TOPIC, mqtts:// for TLS)\n"
         "                                 with its state retained on TOPIC/status; the user\n"
         "                                 name and password from QRIX_MQTT_USER and\n"
         "                                 QRIX_MQTT_PASSWORD or FILE (user, password: two\n"
         "                                 lines, mode 600); --stats: the counts on stderr\n"
         "  stats FILE [--column NAME] [--lower L --upper U] [--json]\n"
         "                                 a recorder file's n, mean, sd, min, max and range\n"
         "                                 per column; with both limits Cp, Cpk and the\n"
         "                                 samples inside, above and below for NAME (MVAL);\n"
         "                                 needs no port\n"
         "  dfq FILE -o OUT [--part ID] [--characteristic NAME] [--nominal N] [--lower L]\n"
         "      [--upper U] [--unit um|px] [--operator N] [--gauge N]\n"
         "                                 a recorder file's MVAL[um] (um) or MVAL (px) as a\n"
         "                                 Q-DAS value file; operator and gauge are catalogue\n"
         "                                 numbers; needs no port\n"
         "\n"
         "Options:\n"
         "  --port sim|PATH|N  the built-in simulated pair, a device path, or port number N\n"
         "                     (default 1)\n"
         "  --help, --version\n"
         "\n"
         "Status texts go to stderr, results to stdout. Exit status: 0 success, 1 the sensor,\n"
         "the line or an output failed (compare: something differs), 2 a usage error or a bad\n"
         "input file (compare: also a failed line), 128 + N after signal N.\n";
}

}  // namespace qrix::cli
