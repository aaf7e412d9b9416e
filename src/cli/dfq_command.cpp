#include "cli/dfq_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "qdas/dfq_writer.h"
#include "recorder/recorder_reader.h"
#include "runtime/files.h"
#include "runtime/output_file.h"

namespace qrix::cli {

namespace {

struct DfqOptions {
  std::string file, out;
  bool micrometres = true;  // MVAL[um]; else MVAL in virtual pixels
  bool characteristicGiven = false, help = false;
  qdas::Description description;
  qdas::ValueSource source;
  std::string error;
};

DfqOptions parseDfqOptions(const std::vector<std::string_view>& args) {
  DfqOptions o;
  const auto fail = [&o](std::string what) {
    o.error = std::move(what);
    return o;
  };
  const std::vector<std::string_view> valued = {"-o",        "--part",     "--characteristic",
                                                "--nominal", "--lower",    "--upper",
                                                "--unit",    "--operator", "--gauge"};
  std::vector<std::string_view> seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    if (std::find(valued.begin(), valued.end(), arg) == valued.end()) {
      if (arg.size() > 1 && arg[0] == '-') {
        return fail("dfq: unknown option " + printableText(arg));
      }
      if (!o.file.empty()) {
        return fail("dfq takes one FILE");
      }
      o.file = arg;
      continue;
    }
    if (i + 1 == args.size()) {
      return fail(std::string(arg) + " needs a value");
    }
    if (std::find(seen.begin(), seen.end(), arg) != seen.end()) {
      return fail(std::string(arg) + " given twice");
    }
    seen.push_back(arg);
    const std::string_view value = args[++i];
    if (arg == "-o") {
      o.out = value;
    } else if (arg == "--part") {
      o.description.partNumber = value;
    } else if (arg == "--characteristic") {
      o.description.characteristicDescription = value;
      o.characteristicGiven = true;
    } else if (arg == "--unit") {
      if (value != "um" && value != "px") {
        return fail("--unit takes um or px");
      }
      o.micrometres = value == "um";
    } else if (arg == "--operator") {
      o.source.operatorNumber = value;
    } else if (arg == "--gauge") {
      o.source.gaugeNumber = value;
    } else {
      const std::optional<double> number = parseFiniteNumber(value);
      if (!number) {
        return fail(std::string(arg) + " " + printableText(value) + " is no number");
      }
      (arg == "--nominal" ? o.description.nominal
       : arg == "--lower" ? o.description.lower
                          : o.description.upper) = number;
    }
  }
  if (o.help) {
    return o;
  }
  if (o.file.empty()) {
    return fail("dfq needs a FILE");
  }
  if (o.out.empty()) {
    return fail("dfq needs -o OUT");
  }
  o.description.unit = o.micrometres ? "um" : "px";
  if (!o.characteristicGiven) {
    o.description.characteristicDescription = o.micrometres ? "MVAL[um]" : "MVAL";
  }
  // Checked with a stand-in for the description that comes from the recording's header.
  o.description.partDescription = "recording";
  if (std::string fault = qdas::checkDescription(o.description); !fault.empty()) {
    return fail(fault);
  }
  if (std::string fault = qdas::checkValueSource(o.source); !fault.empty()) {
    return fail(fault);
  }
  return o;
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(files::pathOf(a), files::pathOf(b), ec) && !ec;
}

}  // namespace

int runDfqCommand(const std::vector<std::string_view>& args) {
  DfqOptions o = parseDfqOptions(args);
  if (!o.error.empty()) {
    std::fprintf(stderr, "qrix-cli: %s (see --help)\n", o.error.c_str());
    return kExitUsage;
  }
  if (o.help) {
    std::fputs(cliUsageText().data(), stdout);
    return kExitOk;
  }
  std::error_code ec;
  if (std::filesystem::is_directory(files::pathOf(o.file), ec)) {
    std::fprintf(stderr, "qrix-cli: %s: a folder, not a recorder file\n",
                 printableText(o.file).c_str());
    return kExitUsage;
  }
  // The recording is never replaced by its own export.
  if (sameFile(o.file, o.out)) {
    std::fprintf(stderr, "qrix-cli: -o %s is the recording itself; it stays as it is\n",
                 printableText(o.out).c_str());
    return kExitUsage;
  }
  if (std::string reason = files::checkOutputFile(o.out); !reason.empty()) {
    std::fprintf(stderr, "qrix-cli: cannot write %s: %s\n", printableText(o.out).c_str(),
                 reason.c_str());
    return kExitFailed;
  }

  std::vector<std::int32_t> values;
  RecorderHeader header;
  RecorderFault fault;
  const bool micrometres = o.micrometres;
  const auto take = [&values, micrometres](std::uint64_t, const RecorderSample& s) {
    values.push_back(micrometres ? s.mvalUm : std::int32_t{s.mval});
  };
  if (!readRecorderFile(o.file, take, header, fault)) {
    std::fprintf(stderr, "qrix-cli: %s\n", printableText(faultText(o.file, fault)).c_str());
    return kExitUsage;
  }

  o.description.partDescription = "recording " + header.date + " " + header.time;
  // The set-point is the recording's target in micrometres.
  if (!o.description.nominal && micrometres) {
    o.description.nominal = header.setpoint;
  }
  std::string text = qdas::descriptionText(o.description);
  const qdas::DateTime start{header.year, header.month,  header.day,
                             header.hour, header.minute, header.second};
  // The recorder stamps only its start: a sample's time is the start plus its interval steps.
  // At interval 0 (every answer) no sample has a time of its own, so each takes the start's.
  for (std::size_t i = 0; i < values.size(); ++i) {
    const auto offset = static_cast<std::int64_t>(i) * header.interval;
    qdas::appendValue(text, values[i], qdas::plusSeconds(start, offset), o.source);
  }
  std::string reason;
  if (!files::writeFileAtomically(o.out, text, &reason)) {
    std::fprintf(stderr, "qrix-cli: cannot write %s: %s\n", printableText(o.out).c_str(),
                 reason.c_str());
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace qrix::cli
