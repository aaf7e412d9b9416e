#include "cli/commands.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/interrupts.h"
#include "cli/json_text.h"
#include "cli/monitor_command.h"
#include "cli/sensor_session.h"
#include "export/graph_csv.h"
#include "linearisation/lin_file.h"
#include "params/param_file.h"
#include "params/param_file_check.h"
#include "params/parameter_fields.h"
#include "program/line_owner.h"
#include "program/memory_target.h"
#include "program/program.h"
#include "recorder/recording.h"
#include "runtime/files.h"
#include "runtime/output_file.h"
#include "services/block_reads.h"
#include "services/flash_table.h"
#include "services/identify.h"
#include "services/parameter_exchange.h"

namespace qrix::cli {

namespace {

int cannotWrite(const std::string& path, const std::string& reason) {
  std::fprintf(stderr, "qrix-cli: cannot write %s: %s\n", path.c_str(), reason.c_str());
  return kExitFailed;
}

void printField(const ParameterField& f, const std::vector<std::int64_t>& values,
                const std::vector<const char*>& labels) {
  std::printf("%-7s %-24s", f.section, f.name.c_str());
  for (std::size_t i = 0; i < values.size(); ++i) {
    const auto value = static_cast<long long>(values[i]);
    if (labels.empty()) {
      std::printf(" %11lld", value);
    } else {
      std::printf(" %s=%lld", labels[i], value);
    }
  }
  std::printf("%s%s\n", *f.unit ? " " : "", f.unit);
}

nlohmann::ordered_json jsonField(const ParameterField& f) {
  return {
      {"section", utf8Text(f.section)}, {"field", utf8Text(f.name)}, {"unit", utf8Text(f.unit)}};
}

void printJson(const nlohmann::ordered_json& value) {
  std::fputs((jsonLine(value) + "\n").c_str(), stdout);
}

// Reads the three frames from RAM or EEPROM into the record, as the window takes them; the words
// they hold, or none after a time-out. The pause after the last frame only where a request
// follows.
std::optional<ParaFileWords> readFrames(Program& p, int target, PauseAfter pause = PauseAfter::No) {
  if (!readParameterRecord(p, static_cast<std::uint16_t>(target), pause)) {
    return std::nullopt;
  }
  takeParameterRecord(p);
  return recordToWords(p.st.parameter);
}

int runInfo(SensorSession& s, const CliOptions& o) {
  const HardwareWords& hw = *s.hardware();
  const struct {
    const char* name;
    std::uint16_t value;
  } words[] = {{"ccdtype", hw.ccdtype},
               {"ccdmaxpixel", hw.ccdmaxpixel},
               {"ccdresolution", hw.ccdresolution},
               {"pcbtype", hw.pcbtype},
               {"ccdvirtpixel", hw.ccdvirtpixel},
               {"ccdsubpixel", hw.ccdsubpixel},
               {"ccdpixB", hw.ccdpixB},
               {"ccdpixE", hw.ccdpixE},
               {"softversion", hw.softversion},
               {"hwtype", hw.hwtype},
               {"adcmax", hw.adcmax}};
  const std::array<std::string, 4> ccd = describeCcd(hw).lines;
  const std::optional<std::string>& firmware = s.firmwareText();
  if (o.json) {
    nlohmann::ordered_json out;
    nlohmann::ordered_json& hardware = out["hardware"] = nlohmann::ordered_json::object();
    for (const auto& w : words) {
      hardware[w.name] = w.value;
    }
    nlohmann::ordered_json& lines = out["ccd"] = nlohmann::ordered_json::array();
    for (const std::string& line : ccd) {
      lines.push_back(utf8Text(line));
    }
    out["firmware"] = firmware ? nlohmann::ordered_json(utf8Text(*firmware)) : nullptr;
    printJson(out);
  } else {
    for (const auto& w : words) {
      std::printf("%-14s %u\n", w.name, unsigned{w.value});
    }
    for (std::size_t i = 0; i < ccd.size(); ++i) {
      std::printf("%-14s %s\n", i == 0 ? "ccd" : "", printableText(ccd[i]).c_str());
    }
    std::printf("%-14s %s\n", "firmware",
                firmware ? printableText(*firmware).c_str() : "(missing)");
  }
  return kExitOk;
}

int runGet(SensorSession& s, const CliOptions& o) {
  Program& p = s.program();
  const std::optional<ParaFileWords> words = readFrames(p, o.eeprom ? kTargetEeprom : kTargetRam);
  if (!words) {
    return kExitFailed;
  }
  if (!o.file.empty()) {
    // The file holds what the window's SEND to a file writes: the record as the panels show it.
    std::string reason;
    if (files::writeFileAtomically(o.file, formatParaFile(*words), &reason)) {
      return kExitOk;
    }
    return cannotWrite(o.file, reason);
  }
  if (o.json) {
    nlohmann::ordered_json out = {{"memory", o.eeprom ? "EEPROM" : "RAM"}};
    nlohmann::ordered_json& fields = out["fields"] = nlohmann::ordered_json::array();
    for (const ParameterField& f : parameterFields()) {
      nlohmann::ordered_json field = jsonField(f);
      field["value"] = fieldValue(f, *words);
      fields.push_back(std::move(field));
    }
    printJson(out);
  } else {
    for (const ParameterField& f : parameterFields()) {
      printField(f, {fieldValue(f, *words)}, {});
    }
  }
  return kExitOk;
}

int runSend(SensorSession& s, const CliOptions& o) {
  Program& p = s.program();
  const int target = o.eeprom ? kTargetEeprom : kTargetRam;
  // The limits hang on the sensor's virtual pixel count, known only now; a file changed since it
  // was first checked stops the send too.
  if (const std::string fault = checkParaFileStrictly(o.file, p.st.ccdvirtpixel); !fault.empty()) {
    std::fprintf(stderr, "qrix-cli: %s\n", fault.c_str());
    return kExitUsage;
  }
  const std::optional<ParaFileWords> file = parseParaFile(o.file);
  if (!file) {
    std::fprintf(stderr, "qrix-cli: cannot read %s\n", o.file.c_str());
    return kExitUsage;
  }
  wordsToRecord(*file, p.st.parameter);
  // A signal waits until the three frames are out: a sensor with some frames new and some old
  // would be worse than either.
  s.runtime().onInterrupt({});
  p.showStatusText("Transmit...");
  writeParameterRecord(p, static_cast<std::uint16_t>(target));
  // The next request flushes the output queue: the last frame needs its line time first, so it
  // gets the pause SEND keeps between its frames.
  p.rt.Delay(0.1);
  if (const int signal = pendingInterrupt(); signal != 0) {
    std::fprintf(stderr, "qrix-cli: %s: the three frames were sent, not read back\n",
                 signalName(signal));
    return interruptedStatus(signal);
  }
  s.endOnInterrupt();
  const ParaFileWords sent = recordToWords(p.st.parameter);
  if (!s.noFailedExchange()) {
    return kExitFailed;
  }
  const std::optional<ParaFileWords> readBack = readFrames(p, target);
  if (!readBack) {
    return kExitFailed;
  }
  bool same = true;
  for (const ParameterField& f : parameterFields()) {
    if (fieldValue(f, sent) == fieldValue(f, *readBack)) {
      continue;
    }
    same = false;
    printField(f, {fieldValue(f, sent), fieldValue(f, *readBack)}, {"sent", "read"});
  }
  if (!same) {
    std::fprintf(stderr, "qrix-cli: the frames read back differ from those sent\n");
  }
  return same ? kExitOk : kExitFailed;
}

int runCompare(SensorSession& s, const CliOptions& o) {
  Program& p = s.program();
  const std::optional<ParaFileWords> ram = readFrames(p, kTargetRam, PauseAfter::Yes);
  const std::optional<ParaFileWords> eeprom = ram ? readFrames(p, kTargetEeprom) : std::nullopt;
  if (!eeprom) {
    return kExitUsage;
  }
  std::vector<ParaFileWords> columns = {*ram, *eeprom};
  std::vector<const char*> labels = {"RAM", "EEPROM"};
  if (!o.file.empty()) {
    const std::optional<ParaFileWords> file = parseParaFile(o.file);
    if (!file) {
      return kExitUsage;
    }
    columns.push_back(*file);
    labels.push_back("FILE");
  }
  nlohmann::ordered_json differences = nlohmann::ordered_json::array();
  bool differs = false;
  for (const ParameterField& f : parameterFields()) {
    std::vector<std::int64_t> values;
    for (const ParaFileWords& c : columns) {
      values.push_back(fieldValue(f, c));
    }
    bool same = true;
    for (std::int64_t v : values) {
      same &= v == values.front();
    }
    if (same) {
      continue;
    }
    if (o.json) {
      nlohmann::ordered_json difference = jsonField(f);
      for (std::size_t i = 0; i < values.size(); ++i) {
        difference[labels[i]] = values[i];
      }
      differences.push_back(std::move(difference));
    } else {
      printField(f, values, labels);
    }
    differs = true;
  }
  if (o.json) {
    printJson({{"differences", differences}});
  }
  return differs ? kExitFailed : kExitOk;
}

int runRecord(SensorSession& s, const CliOptions& o) {
  // The recorder writes line by line; an earlier file of that name is replaced only by a
  // complete recording. An incomplete one stays beside it. A device (a terminal, a fifo) is
  // recorded into directly.
  files::OutputTarget target;
  std::string reason;
  if (!files::resolveOutput(o.file, target, reason)) {
    return cannotWrite(o.file, reason);
  }
  const std::string partial =
      target.inPlace ? target.path : files::nameBeside(target.path, ".part");
  Program& p = s.program();
  RecordingEvents events;
  events.sampleWritten = [&](std::uint16_t count) { s.progress().show(count, o.samples); };
  // A signal ends the recording after its last whole line.
  s.runtime().onInterrupt([&p](int) { p.st.stop_flag = 1; });
  std::uint16_t written = 0;
  if (ExclusiveLineClaim claim(p, LineUser::Recorder); claim) {
    written = recordRun(p, {partial, o.interval, o.samples}, events);
  }
  const bool complete = written == o.samples && pendingInterrupt() == 0;
  s.progress().finish();
  if (complete && (target.inPlace || files::replaceWithFile(partial, o.file, &reason))) {
    return kExitOk;
  }
  std::error_code error;
  if (complete) {
    std::fprintf(stderr, "qrix-cli: cannot write %s: %s; the recording is in %s\n", o.file.c_str(),
                 reason.c_str(), partial.c_str());
  } else if (!target.inPlace && std::filesystem::is_regular_file(partial, error)) {
    std::fprintf(stderr, "qrix-cli: recording incomplete, kept in %s\n", partial.c_str());
  } else if (!target.inPlace) {
    std::fprintf(stderr, "qrix-cli: recording incomplete, nothing written\n");
  } else {
    std::fprintf(stderr, "qrix-cli: recording incomplete\n");
  }
  if (const int signal = pendingInterrupt(); signal != 0) {
    return interruptedStatus(signal);
  }
  return kExitFailed;
}

// One pass as the window's VIDEO or DATA makes it, its buffers as CSV.
int runBlocks(SensorSession& s, const CliOptions& o) {
  Program& p = s.program();
  const bool video = o.command == Command::Video;
  ExclusiveLineClaim claim(p, video ? LineUser::Video : LineUser::Data);
  if (!claim) {
    return kExitFailed;
  }
  // Both transfers read the sensor's RAM.
  p.st.target = kTargetRam;
  if (!(video ? readVideoPass(p) : readDataPass(p))) {
    std::fprintf(stderr, "qrix-cli: the %s pass did not read every block\n", nameOf(o.command));
    return kExitFailed;
  }
  const std::string csv = video ? videoCsv(p.st) : dataCsv(p.st);
  if (o.file.empty()) {
    std::fputs(csv.c_str(), stdout);
    return kExitOk;
  }
  std::string reason;
  if (files::writeFileAtomically(o.file, csv, &reason)) {
    return kExitOk;
  }
  return cannotWrite(o.file, reason);
}

int runFlash(SensorSession& s, const CliOptions& o) {
  Program& p = s.program();
  ExclusiveLineClaim claim(p, LineUser::Flash);
  if (!claim) {
    return kExitFailed;
  }
  const std::optional<LinTable> table = parseLinFile(o.file);
  if (!table) {
    std::fprintf(stderr, "qrix-cli: cannot read %s\n", o.file.c_str());
    return kExitFailed;
  }
  // The clear frame and 256 data frames; every answer moves the bar.
  const std::function<void()> shown = p.onLinkHealthChanged;
  p.onLinkHealthChanged = [&p, &s, shown] {
    if (shown) {
      shown();
    }
    const link::LinkHealth& h = p.st.health;
    s.progress().show(static_cast<long>(h.counters(link::ExchangeKind::FlashClear).answers +
                                        h.counters(link::ExchangeKind::FlashWrite).answers),
                      257);
  };
  // A signal ends the transfer after the frame in flight (the runtime's quit request).
  s.runtime().onInterrupt({});
  const FlashTransfer transfer = writeFlashTable(p, *table);
  p.onLinkHealthChanged = shown;
  s.progress().finish();
  if (transfer.complete) {
    return kExitOk;
  }
  std::fprintf(stderr, "qrix-cli: %d of %d frames confirmed\n", transfer.confirmed, kXFlashFrames);
  if (const int signal = pendingInterrupt(); signal != 0) {
    return interruptedStatus(signal);
  }
  return kExitFailed;
}

}  // namespace

std::string checkInputFiles(const CliOptions& o) {
  if (o.command == Command::Send || (o.command == Command::Compare && !o.file.empty())) {
    return checkParaFileStrictly(o.file, kMostVirtualPixels);
  }
  if (o.command == Command::Flash) {
    return checkLinFileStrictly(o.file);
  }
  if (o.command == Command::Monitor) {
    return checkMonitorSetup(o);
  }
  return {};
}

std::string checkOutputFiles(const CliOptions& o) {
  const bool writes =
      o.command == Command::Record ||
      (!o.file.empty() &&
       (o.command == Command::Get || o.command == Command::Video || o.command == Command::Data));
  if (!writes) {
    return {};
  }
  if (std::string reason = files::checkOutputFile(o.file); !reason.empty()) {
    return "cannot write " + o.file + ": " + reason;
  }
  if (o.command != Command::Record) {
    return {};
  }
  // The recording goes into FILE.part first (or straight into a device).
  files::OutputTarget target;
  std::string reason;
  if (!files::resolveOutput(o.file, target, reason)) {
    return "cannot write " + o.file + ": " + reason;
  }
  if (target.inPlace) {
    return {};
  }
  const std::string partial = files::nameBeside(target.path, ".part");
  std::error_code error;
  const auto status = std::filesystem::symlink_status(partial, error);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    return "cannot write " + partial + ": not a regular file";
  }
  return {};
}

int runCommand(SensorSession& s, const CliOptions& o) {
  if (!s.identified()) {
    std::fprintf(stderr, "qrix-cli: %s\n", s.failureText().c_str());
    return o.command == Command::Compare ? kExitUsage : kExitFailed;
  }
  switch (o.command) {
    case Command::Info: return runInfo(s, o);
    case Command::Get: return runGet(s, o);
    case Command::Send: return runSend(s, o);
    case Command::Compare: return runCompare(s, o);
    case Command::Record: return runRecord(s, o);
    case Command::Video:
    case Command::Data: return runBlocks(s, o);
    case Command::Flash: return runFlash(s, o);
    case Command::Monitor: return runMonitor(s, o);
    case Command::None: break;
  }
  return kExitUsage;
}

}  // namespace qrix::cli
