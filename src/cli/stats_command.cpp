#include "cli/stats_command.h"

#include <cstdio>
#include <filesystem>

#include "cli/cli_options.h"
#include "cli/commands.h"
#include "cli/json_text.h"
#include "runtime/files.h"
#include "stats/running_stats.h"

namespace qrix::cli {

namespace {

struct StatsOptions {
  std::string file;
  std::optional<std::size_t> column;
  std::optional<double> lower, upper;
  bool json = false;
  bool help = false;
  std::string error;
};

StatsOptions parseStatsOptions(const std::vector<std::string_view>& args) {
  StatsOptions o;
  const auto fail = [&o](std::string what) {
    o.error = std::move(what);
    return o;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool takesValue = arg == "--column" || arg == "--lower" || arg == "--upper";
    if (takesValue && i + 1 == args.size()) {
      return fail(std::string(arg) + " needs a value");
    }
    if (arg == "--json") {
      o.json = true;
    } else if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--column") {
      if (o.column) {
        return fail("--column given twice");
      }
      o.column = recorderColumn(args[++i]);
      if (!o.column) {
        return fail("no column " + printableText(args[i]) +
                    " (SLAVE, MASTER, MVAL, MVAL[um], S_EDGE or M_EDGE)");
      }
    } else if (arg == "--lower" || arg == "--upper") {
      std::optional<double>& limit = arg == "--lower" ? o.lower : o.upper;
      if (limit) {
        return fail(std::string(arg) + " given twice");
      }
      limit = parseFiniteNumber(args[++i]);
      if (!limit) {
        return fail(std::string(arg) + " " + printableText(args[i]) + " is no number");
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      return fail("stats: unknown option " + printableText(arg));
    } else if (!o.file.empty()) {
      return fail("stats takes one FILE");
    } else {
      o.file = arg;
    }
  }
  if (o.help) {
    return o;
  }
  if (o.file.empty()) {
    return fail("stats needs a FILE");
  }
  if (o.lower.has_value() != o.upper.has_value()) {
    return fail("--lower and --upper go together");
  }
  if (o.lower && !(*o.upper > *o.lower)) {
    return fail("--upper must be above --lower");
  }
  if (o.column && !o.lower) {
    return fail("--column chooses the column of --lower and --upper");
  }
  return o;
}

std::string figure(const std::optional<double>& value) {
  if (!value) {
    return "-";
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", *value);
  return text;
}

std::string figure(const std::optional<std::int64_t>& value) {
  return value ? std::to_string(*value) : "-";
}

std::string limitText(double limit) {
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", limit);
  return text;
}

void printTable(const std::string& file, const RecordingStatistics& r,
                const std::optional<StatsLimits>& limits) {
  const RecorderHeader& h = r.header;
  std::printf("%s: recorded %s %s, interval %u s, set-point %d\n", printableText(file).c_str(),
              h.date.c_str(), h.time.c_str(), unsigned{h.interval}, int{h.setpoint});
  std::printf("%-9s %10s %14s %12s %12s %12s %12s\n", "column", "n", "mean", "sd", "min", "max",
              "range");
  for (std::size_t c = 0; c < r.columns.size(); ++c) {
    const stats::Summary& s = r.columns[c];
    std::printf("%-9s %10llu %14s %12s %12s %12s %12s\n", kRecorderColumns[c].data(),
                static_cast<unsigned long long>(s.n), figure(s.mean).c_str(), figure(s.sd).c_str(),
                figure(s.min).c_str(), figure(s.max).c_str(), figure(s.range).c_str());
  }
  if (!limits) {
    return;
  }
  const stats::Capability& cap = r.capability;
  const std::string none = "- (" + cap.reason + ")";
  std::printf("\n%s from %s to %s:\n", kRecorderColumns[limits->column].data(),
              limitText(limits->lower).c_str(), limitText(limits->upper).c_str());
  std::printf("  Cp      %s\n", cap.cp ? figure(cap.cp).c_str() : none.c_str());
  std::printf("  Cpk     %s\n", cap.cpk ? figure(cap.cpk).c_str() : none.c_str());
  const stats::JudgementCounters& j = r.judged;
  const std::optional<double> yield = j.yieldPercent();
  std::printf("  inside  %llu%s\n", static_cast<unsigned long long>(j.inside),
              yield ? (" (" + limitText(*yield) + " %)").c_str() : "");
  std::printf("  above   %llu\n", static_cast<unsigned long long>(j.above));
  std::printf("  below   %llu\n", static_cast<unsigned long long>(j.below));
}

template <typename T>
nlohmann::ordered_json orNull(const std::optional<T>& value) {
  return value ? nlohmann::ordered_json(*value) : nlohmann::ordered_json(nullptr);
}

void printJson(const std::string& file, const RecordingStatistics& r,
               const std::optional<StatsLimits>& limits) {
  nlohmann::ordered_json columns = nlohmann::ordered_json::object();
  for (std::size_t c = 0; c < r.columns.size(); ++c) {
    const stats::Summary& s = r.columns[c];
    columns[std::string(kRecorderColumns[c])] = {{"n", s.n},
                                                 {"mean", orNull(s.mean)},
                                                 {"sd", orNull(s.sd)},
                                                 {"min", orNull(s.min)},
                                                 {"max", orNull(s.max)},
                                                 {"range", orNull(s.range)}};
  }
  nlohmann::ordered_json out = {{"file", utf8Text(file)}, {"columns", columns}};
  if (limits) {
    nlohmann::ordered_json l = {{"column", std::string(kRecorderColumns[limits->column])},
                                {"lower", limits->lower},
                                {"upper", limits->upper},
                                {"cp", orNull(r.capability.cp)},
                                {"cpk", orNull(r.capability.cpk)}};
    if (!r.capability.reason.empty()) {
      l["reason"] = r.capability.reason;
    }
    l["inside"] = r.judged.inside;
    l["above"] = r.judged.above;
    l["below"] = r.judged.below;
    out["limits"] = l;
  }
  std::fputs((jsonLine(out) + "\n").c_str(), stdout);
}

}  // namespace

std::optional<std::size_t> recorderColumn(std::string_view name) {
  for (std::size_t c = 0; c < kRecorderColumns.size(); ++c) {
    if (kRecorderColumns[c] == name) {
      return c;
    }
  }
  return std::nullopt;
}

std::array<std::int64_t, 6> columnValues(const RecorderSample& s) {
  return {s.slave, s.master, s.mval, s.mvalUm, s.slaveEdges, s.masterEdges};
}

bool recordingStatistics(const std::string& path, const std::optional<StatsLimits>& limits,
                         RecordingStatistics& out, RecorderFault& fault) {
  std::array<stats::RunningStats, 6> columns;
  stats::RunningStats limited;
  out.judged.reset();
  const auto take = [&](std::uint64_t, const RecorderSample& sample) {
    const std::array<std::int64_t, 6> values = columnValues(sample);
    for (std::size_t c = 0; c < values.size(); ++c) {
      columns[c].add(values[c]);
    }
    if (limits) {
      const std::int64_t v = values[limits->column];
      out.judged.count(stats::judgeInLimits(static_cast<double>(v), limits->lower, limits->upper));
    }
  };
  if (!readRecorderFile(path, take, out.header, fault)) {
    return false;
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    out.columns[c] = columns[c].summary();
  }
  if (limits) {
    out.capability = stats::capability(out.columns[limits->column], limits->lower, limits->upper);
  }
  return true;
}

int runStatsCommand(const std::vector<std::string_view>& args, bool stdoutClosed) {
  const StatsOptions o = parseStatsOptions(args);
  if (!o.error.empty()) {
    std::fprintf(stderr, "qrix-cli: %s (see --help)\n", o.error.c_str());
    return kExitUsage;
  }
  if (stdoutClosed) {
    std::fprintf(stderr, "qrix-cli: cannot write the output: stdout is closed\n");
    return kExitFailed;
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
  std::optional<StatsLimits> limits;
  if (o.lower) {
    limits = StatsLimits{o.column.value_or(2), *o.lower, *o.upper};
  }
  RecordingStatistics result;
  RecorderFault fault;
  if (!recordingStatistics(o.file, limits, result, fault)) {
    std::fprintf(stderr, "qrix-cli: %s\n", printableText(faultText(o.file, fault)).c_str());
    return kExitUsage;
  }
  if (o.json) {
    printJson(o.file, result, limits);
  } else {
    printTable(o.file, result, limits);
  }
  return kExitOk;
}

}  // namespace qrix::cli
