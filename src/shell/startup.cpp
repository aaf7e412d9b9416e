#include "shell/startup.h"

#include <cstdio>

#include "display/run_consumers.h"
#include "params/panel_binding.h"
#include "plots/tolerance_window.h"
#include "program/program.h"
#include "qrix_version.h"
#include "recorder/rec_time.h"
#include "runtime/files.h"
#include "sensor_link/port_setup.h"
#include "shell/banner.h"
#include "shell/link_indicator.h"

namespace qrix {

namespace {

struct PanelLoad {
  int ProgramState::*handle;
  int resourceId;
  const char* name;
  bool window;  // a top-level window; otherwise a child of the main panel
};

// Load order; the main panel gets handle 1 and is the parent of the four child panels.
constexpr PanelLoad kPanels[] = {
    {&ProgramState::pHandle, ids::kMainPanel, "pHandle", true},
    {&ProgramState::pPara0, ids::kPara0Panel, "pPara0", false},
    {&ProgramState::pPara1, ids::kPara1Panel, "pPara1", false},
    {&ProgramState::pPara2, ids::kPara2Panel, "pPara2", false},
    {&ProgramState::pCalib, ids::kCalibPanel, "pCalib", false},
    {&ProgramState::pPopUp, ids::kPopUpPanel, "pPopUp", true},
    {&ProgramState::pLinkLog, ids::kLinkLogPanel, "pLinkLog", true},
    {&ProgramState::pCompare, ids::kComparePanel, "pCompare", true},
    {&ProgramState::pExport, ids::kExportPanel, "pExport", true},
    {&ProgramState::pStatistics, ids::kStatisticsPanel, "pStatistics", true},
};

}  // namespace

void InitVars(Program& p) {
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  st.parameter = ParameterRecord{};
  st.com = 1;
  st.target = 1;
  st.ccdvirtpixel = 4096;
  st.YAXISMAX = 2048;
  st.ADCMAX = 256;
  st.rx_flag = 0;
  st.graph_flag = 0;
  st.stop_flag = 1;
  p.storeStatusText("InitVars");
  p.showStoredStatus();
  st.szSoftVersion = QRIX_SOFT_VERSION;
  st.szSoftName = "Q-RIX-TB-MS-Scope";
  ShowLogo(p, 2);
  GetPanelValues(p);
  for (int graph : {ids::main::GRAPHBarMaster, ids::main::GRAPHBarSlave}) {
    ui.DeleteGraphPlot(st.pHandle, graph, -1);
    ui.SetGraphCursor(st.pHandle, graph, 1, 0, 1.0);
    ui.SetCursorPointStyle(st.pHandle, graph, 2, ui::kPointStyleNoMarker);
  }
  PlotTOLWindow(p, st.parameter.sys.evalmode, 0, 0);
  for (int i = 0; i < MAXPOINT; ++i) {
    const auto k = static_cast<size_t>(i);
    st.xArrayMVAL[k] = 2.0 * i;
    // Until the sensor is identified, the video curve spans the default 4096 virtual pixels.
    st.xArray8[k] = 32.0 * i;
    st.thdArrayA[k] = videoThresholdCounts(st.ADCMAX, st.parameter.master.videothd);
    st.thdArrayB[k] = videoThresholdCounts(st.ADCMAX, st.parameter.slave.videothd);
    st.trgBUFA[k] = 100;
    st.trgBUFB[k] = 100;
  }
}

void InitGUI(Program& p) {
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  for (int panel : {st.pPara0, st.pPara1, st.pPara2, st.pCalib}) {
    ui.SetPanelPos(panel, 98, 8);
  }
  for (int box : {ids::main::HelpText1, ids::main::HelpText2}) {
    ui.SetCtrlPos(st.pHandle, box, 110, 3);
    ui.SetVisible(st.pHandle, box, false);
  }
  ui.ResetTextBox(st.pHandle, ids::main::HelpText1, "HELPTEXT1");
  ui.ResetTextBox(st.pHandle, ids::main::HelpText2, "HELPTEXT2");
  applyModeStates(p);
  ui.SetDimmed(st.pPara1, ids::sensor::SLIDEVideoTHD, false);
  ui.SetDimmed(st.pPara2, ids::sensor::SLIDEVideoTHD, false);
  ui.SetCtrlVal(st.pHandle, ids::main::TOGGBTN_Recorder, 0);
  st.rec_fname = files::MakePathname(st.proj_dir, "RECORD.DAT");
  ui.ResetTextBox(st.pPopUp, ids::popup::TEXTRecFile, st.rec_fname);
  CalcRecTime(p);
}

int StartUp(Program& p, const StartOptions& options) {
  ProgramState& st = p.st;
  ui::UiModel& ui = p.ui();
  bindCallbacks(p);
  listRunConsumers(p);
  p.onLinkHealthChanged = [&p] { showLinkHealth(p); };
  for (const PanelLoad& load : kPanels) {
    const int handle = ui.LoadPanel(load.window ? 0 : st.pHandle, load.resourceId);
    st.*load.handle = handle;
    if (handle < 0) {
      std::fprintf(stderr, "qrix-scope: cannot load panel %s (resource %d): error %d\n", load.name,
                   load.resourceId, handle);
      return -1;
    }
  }
  // The dialogs and the recorder's default file start in the user's documents folder: once
  // installed, the program's own folder is /usr/bin.
  st.proj_dir = p.rt.documentsDirectory();
  InitVars(p);
  if (options.port) {
    st.com = *options.port;
  }
  fillPortList(p);
  watchSerialLines(p);
  if (options.portSetup) {
    options.portSetup(p);
  } else {
    InitRS232(p, st.com);
  }
  InitGUI(p);
  showLinkHealth(p);
  ui.DisplayPanel(st.pHandle);
  ui.DisplayPanel(st.pPara0);
  ui.SetActivePanel(st.pHandle);
  ui.SetActiveCtrl(st.pHandle, ids::main::BTNStop);
  return 0;
}

int RunScope(Program& p) {
  return p.rt.RunUserInterface();
}

void ShutDown(Program& p) {
  ProgramState& st = p.st;
  p.serial().CloseCom(st.com);
  for (int panel : {st.pPara0, st.pPara1, st.pPara2, st.pCalib, st.pPopUp, st.pLinkLog, st.pCompare,
                    st.pExport, st.pStatistics, st.pHandle}) {
    p.ui().DiscardPanel(panel);
  }
}

int WinMain(Program& p, const StartOptions& options) {
  if (StartUp(p, options) < 0) {
    return -1;
  }
  RunScope(p);
  ShutDown(p);
  return 0;
}

int CC_PANEL(Program& p, int, int event) {
  if (event != ui::EVENT_CLOSE) {
    return 0;
  }
  // Any running loop ends at its next pass; the panels are discarded only after the event
  // loop has returned, never under a running loop.
  p.st.stop_flag = 1;
  p.serial().CloseCom(p.st.com);
  p.rt.QuitUserInterface(0);
  return 0;
}

int CC_POPUP(Program& p, int, int event) {
  if (event != ui::EVENT_CLOSE) {
    return 0;
  }
  p.st.stop_flag = 1;
  p.ui().HidePanel(p.st.pPopUp);
  p.ui().SetCtrlVal(p.st.pHandle, ids::main::TOGGBTN_Recorder, 0);
  return 0;
}

}  // namespace qrix
