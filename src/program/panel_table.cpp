#include "program/panel_table.h"

#include <string>
#include <vector>

#include "program/panel_ids.h"

namespace qrix {

using ui::Control;
using ui::ControlKind;
using ui::ListItem;
using ui::Panel;

namespace {

// Builders keep the table readable: one line per control.
struct PanelBuilder {
  Panel panel;

  PanelBuilder(int resourceId, const char* name, const char* title, int width, int height,
               const char* callback = "") {
    panel.resourceId = resourceId;
    panel.name = name;
    panel.title = title;
    panel.bounds = {0, 0, width, height};
    panel.callback = callback;
  }

  Control& add(int id, std::string name, ControlKind kind, int left, int top, int width, int height,
               std::string label = {}, bool withCallback = true) {
    Control c;
    c.id = id;
    c.callback = withCallback ? "CC_" + name : std::string();
    c.name = std::move(name);
    c.kind = kind;
    c.bounds = {left, top, width, height};
    c.label = std::move(label);
    panel.controls[id] = std::move(c);
    return panel.controls[id];
  }

  Control& button(int id, std::string name, int left, int top, std::string label, int width = 100) {
    return add(id, std::move(name), ControlKind::CommandButton, left, top, width, 30,
               std::move(label));
  }

  Control& toggle(int id, std::string name, int left, int top, int width, std::string label,
                  double on = 0) {
    Control& c =
        add(id, std::move(name), ControlKind::ToggleButton, left, top, width, 26, std::move(label));
    c.value = on;
    return c;
  }

  Control& number(int id, std::string name, int left, int top, std::string label, double value,
                  double min, double max, std::string unit = {}, int precision = 0,
                  int width = 150) {
    Control& c =
        add(id, std::move(name), ControlKind::Numeric, left, top, width, 24, std::move(label));
    c.value = value;
    c.minimum = min;
    c.maximum = max;
    c.unit = std::move(unit);
    c.precision = precision;
    return c;
  }

  Control& indicator(int id, std::string name, int left, int top, std::string label,
                     std::string unit = {}, int precision = 0, int width = 112) {
    Control& c = number(id, std::move(name), left, top, std::move(label), 0, -2147483648.0,
                        2147483647.0, std::move(unit), precision, width);
    c.readOnly = true;
    return c;
  }

  Control& ring(int id, std::string name, int left, int top, std::string label,
                std::vector<ListItem> items, double value, int width = 240) {
    Control& c =
        add(id, std::move(name), ControlKind::Ring, left, top, width, 24, std::move(label));
    c.items = std::move(items);
    c.value = value;
    return c;
  }

  Control& slider(int id, std::string name, int left, int top, std::string label, double value,
                  double max, std::string unit) {
    Control& c =
        add(id, std::move(name), ControlKind::Slider, left, top, 300, 28, std::move(label));
    c.value = value;
    c.minimum = 0;
    c.maximum = max;
    c.unit = std::move(unit);
    return c;
  }

  Control& graph(int id, std::string name, int left, int top, int width, int height,
                 std::string label, double xMax, double yMax, std::string xLabel,
                 std::string yLabel) {
    Control& c =
        add(id, std::move(name), ControlKind::Graph, left, top, width, height, std::move(label));
    c.graph.x = {0, xMax};
    c.graph.yLeft = {0, yMax};
    c.graph.yRight = {0, yMax};
    c.graph.xLabel = std::move(xLabel);
    c.graph.yLabel = std::move(yLabel);
    return c;
  }
};

std::vector<ListItem> numbered(const std::vector<std::string>& labels) {
  std::vector<ListItem> items;
  for (size_t i = 0; i < labels.size(); ++i) {
    items.push_back({std::to_string(i) + " - " + labels[i], static_cast<double>(i)});
  }
  return items;
}

Panel mainPanel() {
  namespace m = ids::main;
  PanelBuilder b(ids::kMainPanel, "pHandle", "Q-RIX-TB-MS-Scope", 1280, 800, "CC_PANEL");
  ui::Control& header =
      b.add(m::DECOHeader, "DECOHeader", ControlKind::Decoration, 0, 0, 1280, 60, {}, false);
  header.backColour = 0x0080FF;
  header.hasBackColour = true;
  b.add(m::PICTLogo, "PICTLogo", ControlKind::Picture, 300, 8, 0, 0, {}, false);

  // Notebook tabs of the four parameter panels, and the raw graph's view switches.
  b.toggle(m::TOGGBTN_Para0, "TOGGBTN_Para0", 8, 68, 98, "System", 1);
  b.toggle(m::TOGGBTN_Para1, "TOGGBTN_Para1", 108, 68, 98, "Master");
  b.toggle(m::TOGGBTN_Para2, "TOGGBTN_Para2", 208, 68, 98, "Slave");
  b.toggle(m::TOGGBTN_Calib, "TOGGBTN_Calib", 308, 68, 98, "Calibration");
  b.toggle(m::RAWSelect, "RAWSelect", 980, 68, 140, "Measurement view", 1);
  b.toggle(m::TOGBTN_Zoom, "TOGBTN_Zoom", 1130, 68, 140, "Zoom");

  // Graph area: the raw strip chart (RUN), video curves (VIDEO) and data curves (DATA).
  ui::Control& raw =
      b.add(m::GRAPHRaw, "GRAPHRaw", ControlKind::StripChart, 420, 98, 850, 360, "Raw values");
  raw.strip.pointsPerScreen = 101;
  raw.strip.yLeft = {0, 2048};
  raw.strip.yLabel = "virtual pixels";
  raw.description = "Raw values: no RUN answer yet";
  b.graph(m::GRAPHVideoMaster, "GRAPHVideoMaster", 420, 98, 850, 170, "Video MASTER", 4096, 256,
          "CCD position [virtual pixels]", "intensity [ADC counts]")
      .visible = false;
  b.graph(m::GRAPHVideoSlave, "GRAPHVideoSlave", 420, 294, 850, 164, "Video SLAVE", 4096, 256,
          "CCD position [virtual pixels]", "intensity [ADC counts]")
      .visible = false;
  b.graph(m::GRAPHDataMaster, "GRAPHDataMaster", 420, 98, 850, 170, "Measurement buffer MASTER",
          254, 4096, "scan", "value [virtual pixels]")
      .visible = false;
  b.graph(m::GRAPHDataSlave, "GRAPHDataSlave", 420, 294, 850, 164, "Measurement buffer SLAVE", 254,
          4096, "scan", "value [virtual pixels]")
      .visible = false;
  b.graph(m::GRAPHBarMaster, "GRAPHBarMaster", 420, 476, 850, 80, "MASTER", 4096, 1, {}, {});
  b.graph(m::GRAPHBarSlave, "GRAPHBarSlave", 420, 578, 850, 80, "SLAVE", 4096, 1,
          "CCD position [virtual pixels]", {});
  // What each graph shows, for a screen reader; the bars tell their values from RUN on.
  for (auto [id, words] : {
           std::pair{m::GRAPHVideoMaster,
                     "Video MASTER: the intensity along the MASTER's CCD line from the last VIDEO "
                     "pass, with the video threshold"},
           {m::GRAPHVideoSlave,
            "Video SLAVE: the intensity along the SLAVE's CCD line from the last VIDEO pass, with "
            "the video threshold"},
           {m::GRAPHDataMaster,
            "Measurement buffer MASTER: the MASTER's values of the last DATA pass, with the "
            "trigger, upper, reference and lower lines"},
           {m::GRAPHDataSlave,
            "Measurement buffer SLAVE: the SLAVE's values of the last DATA pass, with the "
            "trigger, upper, reference and lower lines"},
           {m::GRAPHBarMaster, "MASTER: no RUN answer yet"},
           {m::GRAPHBarSlave, "SLAVE: no RUN answer yet"},
       }) {
    b.panel.controls[id].description = words;
  }

  // Values of the last RUN answer.
  int x = 420;
  const int step = 106;
  b.indicator(m::NUMAval, "NUMAval", x, 676, "MASTER edge", "px", 0, 100);
  b.indicator(m::NUMBval, "NUMBval", x += step, 676, "SLAVE edge", "px", 0, 100);
  b.indicator(m::NUMMvalue, "NUMMvalue", x += step, 676, "Value", "px", 0, 100);
  b.indicator(m::NUMValueMM, "NUMValueMM", x += step, 676, "Value", "mm", 3, 100);
  b.indicator(m::NUMTolUpMM, "NUMTolUpMM", x += step, 676, "Tolerance up", "mm", 3, 100);
  b.indicator(m::NUMTolLoMM, "NUMTolLoMM", x += step, 676, "Tolerance low", "mm", 3, 100);
  b.indicator(m::NUMAnaMax, "NUMAnaMax", x += step, 676, "Analog max", "px", 0, 100).visible =
      false;
  b.indicator(m::NUMAnaMin, "NUMAnaMin", x += step, 676, "Analog min", "px", 0, 100).visible =
      false;

  // Exchanges.
  x = 420;
  b.button(m::BTNRun, "BTNRun", x, 724, "RUN");
  b.button(m::BTNStop, "BTNStop", x += 108, 724, "STOP");
  b.button(m::BTNVideo, "BTNVideo", x += 108, 724, "VIDEO");
  b.button(m::BTNData, "BTNData", x += 108, 724, "DATA");
  b.button(m::ButtonTeach, "ButtonTeach", x += 108, 724, "TEACH");
  b.button(m::ButtonReset, "ButtonReset", x += 108, 724, "RESET max/min").visible = false;

  // Memory target, GET and SEND, port and recorder.
  b.add(m::RBTRam, "RBTRam", ControlKind::RadioButton, 16, 584, 90, 24, "RAM").value = 1;
  b.add(m::RBTEeprom, "RBTEeprom", ControlKind::RadioButton, 110, 584, 90, 24, "EEPROM");
  b.add(m::RBTFile, "RBTFile", ControlKind::RadioButton, 204, 584, 90, 24, "FILE");
  b.button(m::BTNGet, "BTNGet", 16, 616, "GET");
  b.button(m::BTNSend, "BTNSend", 124, 616, "SEND");
  b.ring(m::DropDCom, "DropDCom", 16, 668, "Serial port", {{"COM1", 1}}, 1, 300);
  b.toggle(m::TOGGBTN_Recorder, "TOGGBTN_Recorder", 16, 716, 140, "Recorder ...");
  b.button(m::BTNCompare, "BTNCompare", 232, 616, "Compare ...");
  b.button(m::BTNExport, "BTNExport", 164, 714, "Export ...");
  b.button(m::BTNStatistics, "BTNStatistics", 272, 714, "Statistics ...", 120);

  b.add(m::TEXTStatus, "TEXTStatus", ControlKind::TextMessage, 8, 766, 1228, 26, {}, false).text =
      "";
  // The link indicator ends the status line; grey until the first exchange.
  b.add(m::LEDLink, "LEDLink", ControlKind::Led, 1244, 767, 26, 26, "Link");

  // Help box 2 is wider: the serial port's help has a line of 77 characters.
  for (int id : {m::HelpText1, m::HelpText2}) {
    ui::Control& help = b.add(id, id == m::HelpText1 ? "HelpText1" : "HelpText2",
                              ControlKind::TextBox, 3, 110, id == m::HelpText1 ? 320 : 520, 170);
    help.visible = false;
    help.backColour = 0xFFFFE0;
    help.hasBackColour = true;
  }
  return b.panel;
}

Panel para0Panel() {
  namespace p = ids::para0;
  PanelBuilder b(ids::kPara0Panel, "pPara0", "System parameters", 400, 470);
  b.ring(p::DropEvalMode, "DropEvalMode", 16, 28, "Evaluation mode",
         numbered({"SLAVE edge", "MASTER edge", "sum of both edges", "thru-beam (both lines)",
                   "thru-beam, centre"}),
         1);
  b.ring(p::DROPtrigmode, "DROPtrigmode", 16, 80, "Trigger mode",
         numbered({"continuous", "external IN0", "internal, rising", "internal, falling"}), 0);
  b.ring(p::DROPAnaMode, "DROPAnaMode", 16, 132, "Analog output",
         numbered({"measured value", "held maximum", "held minimum", "held maximum (slow)",
                   "held minimum (slow)"}),
         0);
  b.ring(p::DROPHardwareMode, "DROPHardwareMode", 16, 184, "Hardware operation mode",
         numbered({"button and potentiometer off", "potentiometer on", "button on",
                   "button and potentiometer on", "housing locked"}),
         1);
  std::vector<ListItem> averages;
  for (int n = 1; n <= 2048; n *= 2) {
    averages.push_back({std::to_string(n) + " scans", double(n)});
  }
  b.ring(p::DROPaverage, "DROPaverage", 16, 236, "Averaging", averages, 1);
  b.ring(p::DROPpolarity, "DROPpolarity", 16, 288, "Output polarity",
         numbered({"active 0 V", "active +24 VDC"}), 1);
  b.number(p::NUMToleranceUP, "NUMToleranceUP", 16, 340, "Tolerance up", 100, 0, 65535,
           "virtual px");
  b.number(p::NUMToleranceLO, "NUMToleranceLO", 16, 392, "Tolerance low", 100, 0, 65535,
           "virtual px");
  return b.panel;
}

Panel sensorPanel(bool master) {
  namespace s = ids::sensor;
  const std::string ab = master ? "A" : "B";
  PanelBuilder b(master ? ids::kPara1Panel : ids::kPara2Panel, master ? "pPara1" : "pPara2",
                 master ? "MASTER sensor" : "SLAVE sensor", 400, 470);
  // The slave's power slider and CCD mode list share the master's callbacks and help.
  b.slider(s::SLIDEpower, "SLIDEpower", 16, 28, "Light power", 500, 1000, "");
  b.ring(s::DROPpmode, "DROPpmode" + ab, 16, 80, "Power mode",
         numbered({"fixed power", "automatic power"}), 1);
  b.slider(s::SLIDEVideoTHD, "SLIDEVideoTHD_" + ab, 16, 132, "Video threshold", 50, 255, "%");
  b.number(s::NUMTeach, "NUMTeach" + ab, 16, 184, "Teach value", 512, 0, 65535, "virtual px");
  b.button(s::NEDITeach, "NEDITeach" + ab, 176, 184, "Show on bar", 110).bounds.height = 24;
  b.number(s::NUMPixelBegin, "NUMPixelBegin" + ab, 16, 236, "Pixel range begin", 1, 0, 65535,
           "virtual px");
  b.number(s::NUMPixelEnd, "NUMPixelEnd" + ab, 200, 236, "Pixel range end", 4096, 0, 65535,
           "virtual px", 0, 150);
  Control& opmode = b.ring(s::DROPopmode, "DROPopmode" + ab, 16, 288, "CCD operation mode",
                           {{"LOW GAIN", 0}, {"HIGH GAIN", 1}}, 0);
  opmode.callback = "CC_DROPopmodeA";
  b.number(s::NUMTriggThreshold, "NUMTriggThreshold" + ab, 16, 340, "Trigger threshold", 50, 0,
           65535, "virtual px");
  return b.panel;
}

Panel calibPanel() {
  namespace c = ids::calib;
  PanelBuilder b(ids::kCalibPanel, "pCalib", "Calibration", 400, 470);
  b.number(c::NUMSetpoint, "NUMSetpoint", 16, 28, "Set-point", 16000, -2147483648.0, 2147483647.0,
           "µm", 0, 200);
  // Ten fraction digits: every scale word (a multiple of 1/1024) shows and reads back exactly.
  b.number(c::NUMScaleA, "NUMScaleA", 16, 80, "Scale MASTER", 1.0, 0, 4194303.999, "µm/px", 10,
           200);
  b.number(c::NUMScaleB, "NUMScaleB", 16, 132, "Scale SLAVE", 1.0, 0, 4194303.999, "µm/px", 10,
           200);
  Control& info = b.add(c::TEXTCCDInfo, "TEXTCCDInfo", ControlKind::TextBox, 16, 196, 360, 90,
                        "CCD sensor", false);
  info.text = "\n\n\n";
  b.button(c::BTNWriteXFMA, "BTNWriteXFMA", 16, 310, "Write X-FLASH MASTER", 170).visible = false;
  b.button(c::BTNWriteXFSL, "BTNWriteXFSL", 200, 310, "Write X-FLASH SLAVE", 170).visible = false;
  return b.panel;
}

Panel popUpPanel() {
  namespace p = ids::popup;
  PanelBuilder b(ids::kPopUpPanel, "pPopUp", "Q-RIX data recorder", 440, 330, "CC_POPUP");
  b.add(p::TEXTRecFile, "TEXTRecFile", ControlKind::TextBox, 16, 28, 300, 40, "Recorder file",
        false);
  b.button(p::CMDBTNrecfile, "CMDBTNrecfile", 326, 28, "File ...", 96);
  b.number(p::NEDITRecTime, "NEDITRecTime", 16, 96, "Interval", 1, 0, 65535, "s");
  b.number(p::NEDITRecSamples, "NEDITRecSamples", 200, 96, "Samples", 100, 0, 65535);
  int x = 16;
  b.indicator(p::NUMRecDays, "NUMRecDays", x, 150, "Days", {}, 0, 90);
  b.indicator(p::NUMRecHours, "NUMRecHours", x += 100, 150, "Hours", {}, 0, 90);
  b.indicator(p::NUMRecMinutes, "NUMRecMinutes", x += 100, 150, "Minutes", {}, 0, 90);
  b.indicator(p::NUMRecSeconds, "NUMRecSeconds", x += 100, 150, "Seconds", {}, 0, 90);
  b.indicator(p::NUMRecCount, "NUMRecCount", 16, 204, "Samples written", {}, 0, 120);
  Control& state =
      b.add(p::TEXTRecState, "TEXTRecState", ControlKind::TextMessage, 16, 250, 260, 26, {}, false);
  state.text = "DATA-RECORDER";
  state.backColour = ui::kLightGrey;
  state.hasBackColour = true;
  b.button(p::BTNStartRecord, "BTNStartRecord", 16, 290, "START");
  b.button(p::BTNStopRecord, "BTNStopRecord", 124, 290, "STOP");
  return b.panel;
}

Panel linkLogPanel() {
  namespace l = ids::linklog;
  PanelBuilder b(ids::kLinkLogPanel, "pLinkLog", "Link log", 780, 480, "CC_LINKLOG");
  Control& log = b.add(l::TEXTLinkLog, "TEXTLinkLog", ControlKind::TextBox, 16, 28, 748, 380,
                       "Line events, newest last", false);
  // Columns of time stamps line up only in a fixed-pitch font.
  log.font = ui::kFixedPitchFont;
  b.add(l::TEXTLogState, "TEXTLogState", ControlKind::TextMessage, 16, 428, 520, 26, {}, false);
  b.button(l::BTNCopyLog, "BTNCopyLog", 556, 426, "Copy", 100);
  b.button(l::BTNSaveLog, "BTNSaveLog", 664, 426, "Save ...", 100);
  return b.panel;
}

Panel comparePanel() {
  namespace c = ids::compare;
  PanelBuilder b(ids::kComparePanel, "pCompare", "Compare parameters", 800, 670, "CC_COMPARE");
  Control& table = b.add(c::TEXTCompare, "TEXTCompare", ControlKind::TextBox, 16, 28, 768, 530,
                         "Parameter frames, differences marked *", false);
  // The columns line up only in a fixed-pitch font.
  table.font = ui::kFixedPitchFont;
  b.add(c::TEXTCompareFile, "TEXTCompareFile", ControlKind::TextMessage, 16, 582, 660, 26,
        "Parameter file", false);
  b.button(c::BTNCompareFile, "BTNCompareFile", 684, 578, "File ...", 100);
  b.add(c::TEXTCompareState, "TEXTCompareState", ControlKind::TextMessage, 16, 626, 660, 26, {},
        false);
  b.button(c::BTNCompareRead, "BTNCompareRead", 684, 622, "Read", 100);
  return b.panel;
}

Panel exportPanel() {
  namespace e = ids::exporting;
  PanelBuilder b(ids::kExportPanel, "pExport", "Export", 480, 230, "CC_EXPORT");
  b.ring(e::RINGExportGraph, "RINGExportGraph", 16, 28, "Graph",
         {{"Bar graph MASTER", 0},
          {"Bar graph SLAVE", 1},
          {"Raw values", 2},
          {"Video MASTER", 3},
          {"Video SLAVE", 4},
          {"Measurement buffer MASTER", 5},
          {"Measurement buffer SLAVE", 6},
          {"Whole window", 7}},
         0, 300)
      .callback.clear();
  b.ring(e::RINGExportFormat, "RINGExportFormat", 16, 84, "Format",
         {{"PNG image", 0}, {"SVG image", 1}, {"CSV data", 2}}, 0, 300)
      .callback.clear();
  b.button(e::BTNExportSave, "BTNExportSave", 364, 104, "Save ...", 100);
  b.add(e::TEXTExportState, "TEXTExportState", ControlKind::TextMessage, 16, 150, 448, 60, {},
        false);
  return b.panel;
}

Panel statisticsPanel() {
  namespace t = ids::statistics;
  PanelBuilder b(ids::kStatisticsPanel, "pStatistics", "Statistics", 720, 640, "CC_STATISTICS");
  b.add(t::TEXTStatSource, "TEXTStatSource", ControlKind::TextMessage, 16, 8, 688, 22, {}, false)
      .text = "Live: RUN answers";
  b.ring(t::RINGStatSpan, "RINGStatSpan", 16, 52, "Figures over",
         {{"All answers since the reset", 0},
          {"The last 100", 1},
          {"The last 1000", 2},
          {"The last 10000", 3}},
         0, 260);
  b.number(t::NUMStatLower, "NUMStatLower", 300, 52, "Lower limit", 0, 0, 65535, "px", 0, 130)
      .dimmed = true;
  b.number(t::NUMStatUpper, "NUMStatUpper", 440, 52, "Upper limit", 0, 0, 65535, "px", 0, 130)
      .dimmed = true;
  Control& figures = b.add(t::TEXTStatFigures, "TEXTStatFigures", ControlKind::TextBox, 16, 104,
                           688, 196, "Figures", false);
  // The columns line up only in a fixed-pitch font.
  figures.font = ui::kFixedPitchFont;
  Control& histogram =
      b.graph(t::GRAPHStatHistogram, "GRAPHStatHistogram", 16, 318, 688, 220,
              "Histogram of the value", 4096, 1, "value [virtual pixels]", "answers");
  histogram.description = "Histogram of the value: no answers yet";
  histogram.callback.clear();
  b.button(t::BTNStatReset, "BTNStatReset", 16, 556, "Reset", 100);
  b.button(t::BTNStatOpen, "BTNStatOpen", 124, 556, "Open recording ...", 170);
  b.button(t::BTNStatExport, "BTNStatExport", 302, 556, "Export Q-DAS ...", 160);
  b.add(t::TEXTStatState, "TEXTStatState", ControlKind::TextMessage, 16, 598, 688, 26, {}, false);
  return b.panel;
}

}  // namespace

std::optional<ui::PanelTemplate> panelTemplate(int resourceId) {
  switch (resourceId) {
    case ids::kMainPanel: return mainPanel();
    case ids::kPara0Panel: return para0Panel();
    case ids::kPara1Panel: return sensorPanel(true);
    case ids::kPara2Panel: return sensorPanel(false);
    case ids::kCalibPanel: return calibPanel();
    case ids::kPopUpPanel: return popUpPanel();
    case ids::kLinkLogPanel: return linkLogPanel();
    case ids::kComparePanel: return comparePanel();
    case ids::kExportPanel: return exportPanel();
    case ids::kStatisticsPanel: return statisticsPanel();
    default: return std::nullopt;
  }
}

}  // namespace qrix

namespace qrix {

std::string defaultListLabel(int resourceId, int control, int index) {
  std::optional<ui::PanelTemplate> panel = panelTemplate(resourceId);
  if (!panel) {
    return {};
  }
  auto it = panel->controls.find(control);
  if (it == panel->controls.end() || index < 0 ||
      static_cast<size_t>(index) >= it->second.items.size()) {
    return {};
  }
  return it->second.items[static_cast<size_t>(index)].label;
}

}  // namespace qrix
