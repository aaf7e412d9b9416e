// Binds every callback name the panels use to the procedure that serves it.

#include "compare/compare_window.h"
#include "display/block_transfers.h"
#include "display/run_cycle.h"
#include "export/export_window.h"
#include "linearisation/xflash.h"
#include "params/get_send.h"
#include "params/sensor_controls.h"
#include "params/system_controls.h"
#include "program/program.h"
#include "recorder/rec_time.h"
#include "recorder/recorder_buttons.h"
#include "sensor_link/port_setup.h"
#include "sensor_link/teach_reset.h"
#include "shell/help_texts.h"
#include "shell/link_indicator.h"
#include "shell/link_log_window.h"
#include "shell/panel_toggles.h"
#include "shell/startup.h"
#include "statistics/statistics_window.h"

namespace qrix {

namespace {

// Escape in the compare, export and link log windows is their close box.
int escapeAsClose(int event, int key) {
  return event == ui::EVENT_KEYPRESS && key == ui::kKeyEscape ? ui::EVENT_CLOSE : event;
}

}  // namespace

void bindCallbacks(Program& p) {
  ui::CallbackRegistry& cb = p.rt.callbacks();
  // Most callbacks only need the event; the procedures named CC_... take panel and control too.
  auto onEvent = [&cb](const char* name, auto fn) {
    cb.bind(name, [fn](int, int, int event, int, int) { return fn(event); });
  };
  using Procedure = int (*)(Program&, int, int, int);
  auto procedure = [&cb, &p](const char* name, Procedure fn) {
    cb.bind(name, [&p, fn](int panel, int control, int event, int, int) {
      return fn(p, panel, control, event);
    });
  };
  using enum Sensor;

  // Escape in the main window only puts the help away: closing it would end the scope.
  cb.bind("CC_PANEL", [&p](int panel, int, int event, int key, int) {
    if (event == ui::EVENT_KEYPRESS && key == ui::kKeyEscape) {
      return hideHelp(p);
    }
    return CC_PANEL(p, panel, event);
  });
  cb.bind("CC_POPUP",
          [&p](int panel, int, int event, int, int) { return CC_POPUP(p, panel, event); });
  procedure("CC_DropDCom", CC_DropDCom);

  // RUN, VIDEO, DATA and STOP; TEACH and RESET.
  procedure("CC_BTNRun", CC_BTNRun);
  procedure("CC_BTNStop", CC_BTNStop);
  procedure("CC_BTNVideo", CC_BTNVideo);
  procedure("CC_BTNData", CC_BTNData);
  procedure("CC_ButtonTeach", CC_ButtonTeach);
  procedure("CC_ButtonReset", CC_ButtonReset);

  // Memory target, GET and SEND.
  procedure("CC_BTNSend", CC_BTNSend);
  procedure("CC_BTNGet", CC_BTNGet);
  procedure("CC_RBTRam", CC_RBTRam);
  procedure("CC_RBTEeprom", CC_RBTEeprom);
  procedure("CC_RBTFile", CC_RBTFile);

  // Notebook tabs of the parameter panels; the zoom toggle only carries its state.
  onEvent("CC_TOGGBTN_Para0", [&p](int e) { return paraToggle(p, ParaPanel::Para0, e); });
  onEvent("CC_TOGGBTN_Para1", [&p](int e) { return paraToggle(p, ParaPanel::Para1, e); });
  onEvent("CC_TOGGBTN_Para2", [&p](int e) { return paraToggle(p, ParaPanel::Para2, e); });
  onEvent("CC_TOGGBTN_Calib", [&p](int e) { return paraToggle(p, ParaPanel::Calib, e); });
  onEvent("CC_TOGBTN_Zoom", [](int) { return 0; });

  // System parameter panel.
  procedure("CC_DropEvalMode", CC_DropEvalMode);
  procedure("CC_DROPHardwareMode", CC_DROPHardwareMode);
  procedure("CC_DROPAnaMode", CC_DROPAnaMode);
  procedure("CC_NUMToleranceUP", CC_NUMToleranceUP);
  procedure("CC_NUMToleranceLO", CC_NUMToleranceLO);

  // Sensor parameter panels.
  onEvent("CC_SLIDEVideoTHD_A", [&p](int e) { return videoThresholdChanged(p, Master, e); });
  onEvent("CC_SLIDEVideoTHD_B", [&p](int e) { return videoThresholdChanged(p, Slave, e); });
  onEvent("CC_DROPpmodeA", [&p](int e) { return powerModeChanged(p, Master, e); });
  onEvent("CC_DROPpmodeB", [&p](int e) { return powerModeChanged(p, Slave, e); });
  onEvent("CC_NUMTriggThresholdA", [&p](int e) { return triggerThresholdChanged(p, Master, e); });
  onEvent("CC_NUMTriggThresholdB", [&p](int e) { return triggerThresholdChanged(p, Slave, e); });
  onEvent("CC_NUMTeachA", [&p](int e) { return teachCommitted(p, Master, e); });
  onEvent("CC_NUMTeachB", [&p](int e) { return teachCommitted(p, Slave, e); });
  onEvent("CC_NEDITeachA", [&p](int e) { return teachCursor(p, Master, e); });
  onEvent("CC_NEDITeachB", [&p](int e) { return teachCursor(p, Slave, e); });

  // Recorder panel: the duration follows its two settings; the file, START and STOP.
  onEvent("CC_NEDITRecTime", [&p](int e) {
    if (e == ui::EVENT_COMMIT) {
      CalcRecTime(p);
      revealXFlashButtons(p);
    }
    return 0;
  });
  onEvent("CC_NEDITRecSamples", [&p](int e) {
    if (e == ui::EVENT_COMMIT) {
      CalcRecTime(p);
    }
    return 0;
  });
  procedure("CC_CMDBTNrecfile", CC_CMDBTNrecfile);
  procedure("CC_BTNStartRecord", CC_BTNStartRecord);
  procedure("CC_BTNStopRecord", CC_BTNStopRecord);
  onEvent("CC_TOGGBTN_Recorder", [&p](int e) {
    if (e != ui::EVENT_COMMIT) {
      return 0;
    }
    if (p.ui().GetCtrlVal(p.st.pHandle, ids::main::TOGGBTN_Recorder) != 0) {
      p.ui().DisplayPanel(p.st.pPopUp);
    } else {
      p.ui().HidePanel(p.st.pPopUp);
    }
    return 0;
  });

  // The link indicator and its log window.
  procedure("CC_LEDLink", CC_LEDLink);
  cb.bind("CC_LINKLOG", [&p](int panel, int, int event, int key, int) {
    return CC_LINKLOG(p, panel, escapeAsClose(event, key));
  });
  procedure("CC_BTNCopyLog", CC_BTNCopyLog);
  procedure("CC_BTNSaveLog", CC_BTNSaveLog);

  // The parameter compare window.
  procedure("CC_BTNCompare", CC_BTNCompare);
  cb.bind("CC_COMPARE", [&p](int panel, int, int event, int key, int) {
    return CC_COMPARE(p, panel, escapeAsClose(event, key));
  });
  procedure("CC_BTNCompareRead", CC_BTNCompareRead);
  procedure("CC_BTNCompareFile", CC_BTNCompareFile);

  // The export window.
  procedure("CC_BTNExport", CC_BTNExport);
  cb.bind("CC_EXPORT", [&p](int panel, int, int event, int key, int) {
    return CC_EXPORT(p, panel, escapeAsClose(event, key));
  });
  procedure("CC_BTNExportSave", CC_BTNExportSave);

  // The statistics window.
  procedure("CC_BTNStatistics", CC_BTNStatistics);
  cb.bind("CC_STATISTICS", [&p](int panel, int, int event, int key, int) {
    return CC_STATISTICS(p, panel, escapeAsClose(event, key));
  });
  procedure("CC_RINGStatSpan", CC_StatShown);
  procedure("CC_NUMStatLower", CC_StatShown);
  procedure("CC_NUMStatUpper", CC_StatShown);
  procedure("CC_BTNStatReset", CC_BTNStatReset);
  procedure("CC_BTNStatOpen", CC_BTNStatOpen);
  procedure("CC_BTNStatExport", CC_BTNStatExport);

  // External flash, on the calibration panel.
  procedure("CC_BTNWriteXFSL", CC_BTNWriteXFSL);
  procedure("CC_BTNWriteXFMA", CC_BTNWriteXFMA);

  // Last: the help wraps whatever is bound above under the names of its controls.
  bindHelp(p);

  // A line lost inside a callback is told once the outermost callback has returned, after the
  // exchange that noticed it has shown its own text.
  const std::map<std::string, ui::Callback> bound = cb.all();
  for (const auto& entry : bound) {
    const ui::Callback fn = entry.second;
    cb.bind(entry.first, [&p, fn](int panel, int control, int event, int d1, int d2) {
      ++p.st.callbackDepth;
      const int result = fn(panel, control, event, d1, d2);
      --p.st.callbackDepth;
      reportPendingLineLoss(p);
      return result;
    });
  }
}

}  // namespace qrix
