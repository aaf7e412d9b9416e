#include "export/export_window.h"

#include <functional>
#include <string>

#include "export/graph_csv.h"
#include "plots/raw_graph.h"
#include "program/line_owner.h"
#include "program/program.h"
#include "runtime/files.h"
#include "runtime/output_file.h"

namespace qrix {

namespace {

namespace e = ids::exporting;
namespace m = ids::main;

// The items of the graph list, by their values.
struct Target {
  const char* fileName;
  int control;  // 0: the whole main window
  std::function<std::string(const ProgramState&)> csv;
  bool ProgramState::*hasData;  // whether the sensor has sent what the CSV holds
};

const Target kTargets[] = {
    {"BAR_MASTER", m::GRAPHBarMaster, barValuesCsv, &ProgramState::runAnswerTaken},
    {"BAR_SLAVE", m::GRAPHBarSlave, barValuesCsv, &ProgramState::runAnswerTaken},
    {"RAW", m::GRAPHRaw, stripChartCsv, &ProgramState::rawChartSampled},
    {"VIDEO_MASTER", m::GRAPHVideoMaster,
     [](const ProgramState& st) { return videoCsv(st, Sensors::Master); },
     &ProgramState::videoPassRead},
    {"VIDEO_SLAVE", m::GRAPHVideoSlave,
     [](const ProgramState& st) { return videoCsv(st, Sensors::Slave); },
     &ProgramState::videoPassRead},
    {"DATA_MASTER", m::GRAPHDataMaster,
     [](const ProgramState& st) { return dataCsv(st, Sensors::Master); },
     &ProgramState::dataPassRead},
    {"DATA_SLAVE", m::GRAPHDataSlave,
     [](const ProgramState& st) { return dataCsv(st, Sensors::Slave); },
     &ProgramState::dataPassRead},
    {"SCOPE", 0, nullptr, nullptr},
};

enum Format { kPng = 0, kSvg = 1, kCsv = 2 };
constexpr const char* kExtensions[] = {"png", "svg", "csv"};

void tell(Program& p, const std::string& text, bool failed) {
  p.tell(p.st.pExport, e::TEXTExportState, text, failed);
}

// The list's selected item, by its value; -1 when it holds none of the known values.
int selected(Program& p, int ring, int count) {
  const auto value = static_cast<int>(p.ui().GetCtrlVal(p.st.pExport, ring));
  return value >= 0 && value < count ? value : -1;
}

std::string itemLabel(Program& p, int ring, int value) {
  const ui::Control* list = p.ui().control(p.st.pExport, ring);
  if (list) {
    for (const ui::ListItem& item : list->items) {
      if (item.value == value) {
        return item.label;
      }
    }
  }
  return {};
}

// What a picture needs to stand alone, away from the window: which sensor a bar graph is, and
// what the raw chart's lines and positions are.
ImageNotes notesOf(int control) {
  switch (control) {
    case m::GRAPHBarMaster: return {"MASTER", {}, {}};
    case m::GRAPHBarSlave: return {"SLAVE", {}, {}};
    case m::GRAPHRaw:
      return {"", "RUN answer (newest 0)",
              std::vector<std::string>(kRawTraceNames.begin(), kRawTraceNames.end())};
    default: return {};
  }
}

}  // namespace

int CC_BTNExport(Program& p, int, int, int event) {
  if (event == ui::EVENT_COMMIT) {
    p.showWindow(p.st.pExport);
  }
  return 0;
}

int CC_EXPORT(Program& p, int, int event) {
  if (event != ui::EVENT_CLOSE) {
    return 0;
  }
  p.hideWindow(p.st.pExport);
  return 0;
}

int CC_BTNExportSave(Program& p, int, int, int event) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  if (loopHoldsLine(p)) {
    tell(p, "Not saved: stop RUN, VIDEO, DATA or the recording first.", true);
    return 0;
  }
  const int which = selected(p, e::RINGExportGraph, static_cast<int>(std::size(kTargets)));
  const int format = selected(p, e::RINGExportFormat, static_cast<int>(std::size(kExtensions)));
  if (which < 0 || format < 0) {
    return 0;
  }
  const Target& target = kTargets[which];
  const std::string what = itemLabel(p, e::RINGExportGraph, which);
  if (target.control == 0 && format != kPng) {
    tell(p, "Not saved: the whole window is saved as PNG only.", true);
    return 0;
  }
  // Before the sensor sent it, a graph's data would be the zeros it starts with.
  if (format == kCsv && target.hasData && !(p.st.*target.hasData)) {
    tell(p, "Not saved: no data yet.", true);
    return 0;
  }
  const std::string extension = kExtensions[format];
  std::string refusal;
  const std::optional<std::string> path = p.chooseFileToWrite(
      std::string(target.fileName) + "." + extension, "*." + extension, "Export " + what, &refusal);
  if (!path) {
    if (!refusal.empty()) {
      tell(p, "Not saved: " + refusal + ".", true);
    }
    return 0;
  }
  std::string failure;
  if (format == kCsv) {
    if (!files::writeFileAtomically(*path, target.csv(p.st))) {
      failure = "cannot write " + *path;
    }
  } else {
    failure = p.rt.SaveImage(p.st.pHandle, target.control,
                             format == kSvg ? ImageFormat::Svg : ImageFormat::Png, *path,
                             notesOf(target.control));
  }
  if (failure.empty()) {
    tell(p, "Saved " + what + " to " + *path, false);
  } else {
    tell(p, "Not saved: " + failure + ".", true);
  }
  return 0;
}

}  // namespace qrix
