#include "shell/help_texts.h"

#include <string>

#include "program/program.h"

namespace qrix {

namespace {

namespace m = ids::main;
namespace p0 = ids::para0;
namespace s = ids::sensor;

constexpr int ProgramState::*kMain = &ProgramState::pHandle;
constexpr int ProgramState::*kPara0 = &ProgramState::pPara0;
constexpr int ProgramState::*kPara1 = &ProgramState::pPara1;
constexpr int ProgramState::*kPara2 = &ProgramState::pPara2;

constexpr HelpPlace rightOf(int dx, int dy) {
  return {1, dx, 0, dy};
}
constexpr HelpPlace at(int dx, int dy) {
  return {0, dx, 0, dy};
}
// Above the control: its top edge minus its height.
constexpr HelpPlace above(int dx, int dy) {
  return {0, dx, -1, dy};
}

// The slave panel's power slider and CCD mode switch carry the master's callbacks
// (CC_SLIDEpower, CC_DROPopmodeA), so they show the master's help, placed by the master panel.
constexpr HelpRow kHelpTable[] = {
    {"BTNRun", kMain, m::BTNRun, m::HelpText1, rightOf(10, -20),
     "RUN-BUTTON:\nStart the continuous serial RS232\ndata-transfer between PC and Q-RIX\nsensor. "
     "16 "
     "words are transferred!"},
    {"BTNVideo", kMain, m::BTNVideo, m::HelpText1, rightOf(10, -20),
     "VIDEO-BUTTON:\nTransfer video-signal (pixel-info)\n= intensity profile at CCD-line,\nvia "
     "RS232 communication to PC."},
    {"BTNData", kMain, m::BTNData, m::HelpText1, above(5, -30),
     "DATA-BUTTON:\nTransfer measurement-curve\nof MASTER and SLAVE via RS-232 to PC."},
    {"BTNStop", kMain, m::BTNStop, m::HelpText1, rightOf(10, -20),
     "STOP-BUTTON:\nStop the serial RS232-data-\ntransfer between PC and\nQ-RIX sensor."},
    {"ButtonTeach", kMain, m::ButtonTeach, m::HelpText1, at(-200, -20),
     "TEACH-BUTTON:\nStart teach procedure at Q-RIX-\nsensor. The actual pixel-position ==\nnew "
     "teach value!"},
    {"ButtonReset", kMain, m::ButtonReset, m::HelpText1, rightOf(10, -60),
     "RESET-BUTTON:\nReset the actual maxima und minima\nvalues at the Q-RIX-hardware.\nNo "
     "software/hardware reset is done !"},
    {"DropDCom", kMain, m::DropDCom, m::HelpText2, rightOf(20, -120),
     "DROP-DOWN-CONNECT:\nSelect the port-number of the serial RS232 communication interface of "
     "the PC.\n\nThe port-number can be found under:\n<Start>/System-Settings/Hardware/..."},
    {"BTNSend", kMain, m::BTNSend, m::HelpText1, rightOf(20, -25),
     "SEND-BUTTON:\nSend parameter-frame to EEPROM-\nor RAM-memory of the Q-RIX-sensor!"},
    {"BTNGet", kMain, m::BTNGet, m::HelpText1, rightOf(20, -25),
     "GET-BUTTON:\nGet parameter-frame of Q-RIX-\nsensor from EEPROM-memory\nor RAM-memory ..."},
    // The graphs' boxes lie inside the graph.
    {"GRAPHVideoSlave", kMain, m::GRAPHVideoSlave, m::HelpText2, at(60, 30),
     "VIDEO-GRAPH-SLAVE:\nVisualizes the actual video signal\nof the SLAVE-sensor. The "
     "video\nsignal represents the analog-value\nof each pixel over the CCD-line.\nBecause of the "
     "limited baudrate via\nthe serial RS232 interface, the\nvideo graph is refreshed slowly !"},
    {"GRAPHVideoMaster", kMain, m::GRAPHVideoMaster, m::HelpText2, at(40, 30),
     "VIDEO-GRAPH-MASTER:\nVisualizes the actual video signal\nof the MASTER-sensor. The "
     "video\nsignal represents the analog-value\nof each pixel over the CCD-line.\nBecause of the "
     "limited baudrate via\nthe serial RS232 interface, the\nvideo graph is refreshed slowly !"},
    {"GRAPHDataMaster", kMain, m::GRAPHDataMaster, m::HelpText2, at(40, 30),
     "DATA-GRAPH-MASTER:\nVisualizes the actual measurement-\nvalue-buffer of the "
     "MASTER-sensor.\nThis buffer is 256-scans long,\n"},
    {"GRAPHDataSlave", kMain, m::GRAPHDataSlave, m::HelpText2, at(40, 30),
     "DATA-GRAPH-SLAVE:\nVisualizes the actual measurement-\nvalue-buffer of the "
     "SLAVE-sensor.\nThis buffer is 256-scans long,\n"},
    {"TOGGBTN_Recorder", kMain, m::TOGGBTN_Recorder, m::HelpText1, rightOf(10, -50),
     "RECORDER-BUTTON:\nOpen a new Popup-Window for\nthe Q-RIX data recorder..."},

    {"DropEvalMode", kPara0, p0::DropEvalMode, m::HelpText1, rightOf(20, -10),
     "EVALUATION-MODE:\nDrop-down element to select an\nevaluation mode at the Q-RIX-sensor."},
    {"DROPHardwareMode", kPara0, p0::DROPHardwareMode, m::HelpText1, rightOf(20, -10),
     "HARDWARE OPERATION-MODE:\nDrop-down element to enable or \ndisable harware components e.g. "
     "\nbutton or potentiometer at the \nQ-RIX-sensor housing."},
    {"DROPAnaMode", kPara0, p0::DROPAnaMode, m::HelpText1, rightOf(20, -10),
     "ANALOG-OUT:\nDrop-down element to preset \nthe mode of the analog output. \nThe "
     "analog-output is connected \nto /pin8/red/ of the 8-pole socket."},
    {"DROPpolarity", kPara0, p0::DROPpolarity, m::HelpText1, rightOf(20, -10),
     "POLARITY:\nDrop-down element to change the \npolarity (0V,+24VDC) of the digital "
     "\noutputs OUT0,OUT1 and OUT2 at the \nQ-RIX-MASTER sensor hardware"},
    {"DROPtrigmode", kPara0, p0::DROPtrigmode, m::HelpText1, rightOf(20, -10),
     "TRIGGER-MODE:\nSelect a trigger-mode at the \nQ-RIX-MASTER sensor. For external \ntrigger "
     "input IN0=Pin3[green] of the \n8-pole female plc-connector is used !"},
    {"DROPaverage", kPara0, p0::DROPaverage, m::HelpText2, rightOf(20, -10),
     "AVERAGE:\nNumber of CCD-scans which are \nstored in a ring-buffer. \nOn each main-loop-cycle "
     "a mean- \nvalue is calculated of the buffer.\nThe switching frequency is not \nchanged. "
     "Averaging affects the \nanalog-output voltage (smoothing)."},
    {"NUMToleranceUP", kPara0, p0::NUMToleranceUP, m::HelpText1, rightOf(20, -10),
     "TOLERANCE-UP:\nNumerical input field to preset the upper\ntolerance limit in [pixel] at the "
     "hardware."},
    {"NUMToleranceLO", kPara0, p0::NUMToleranceLO, m::HelpText1, rightOf(20, -10),
     "TOLERANCE-LO:\nNumerical input field to preset the lower\ntolerance limit in [pixel] at the "
     "hardware."},

    {"SLIDEpower", kPara1, s::SLIDEpower, m::HelpText1, rightOf(135, -10),
     "POWER:\nWith this slider, the power of the light-\nsource at the Q-RIX-sensor can be set."},
    {"SLIDEVideoTHD_A", kPara1, s::SLIDEVideoTHD, m::HelpText1, rightOf(30, -10),
     "V-THD:\nWith this slider, the video-threshold for\nthe detection of the edges can be "
     "set.\nThe video-threshold is displayed by a \ngreen horizontal line!"},
    {"DROPopmodeA", kPara1, s::DROPopmode, m::HelpText1, rightOf(30, -10),
     "CCD-OPERATION-MODE:\nBinary-switch to set the operation \nmode of the CCD-receiver "
     "amplifier."},
    {"NUMTriggThresholdA", kPara1, s::NUMTriggThreshold, m::HelpText1, rightOf(30, -10),
     "TRIGGER-THRESHOLD:\nWith this edit-field, the trigger-threshold\nfor the internal trigger "
     "function can be set.\nIt is displayed by a grey horiz. line!"},
    {"NUMTeachA", kPara1, s::NUMTeach, m::HelpText1, rightOf(30, -10),
     "TEACH-VALUE:\nWith this edit-field, the teach-value \nin pixel can be set."},
    {"DROPpmodeA", kPara1, s::DROPpmode, m::HelpText1, rightOf(25, -10),
     "POWER-MODE:\nWith this drop-down, the working \n-mode of the laser at the Q-RIX- \nsensor "
     "can be set."},

    {"NUMTriggThresholdB", kPara2, s::NUMTriggThreshold, m::HelpText1, rightOf(30, -10),
     "TRIGGER-THRESHOLD:\nWith this edit-field, the trigger-threshold\nfor the internal trigger "
     "function can be set.\nIt is displayed by the grey horiz. line!"},
};

int hideBox(Program& p, int box, int event) {
  if (event == ui::EVENT_LEFT_CLICK || event == ui::EVENT_RIGHT_CLICK) {
    p.ui().SetVisible(p.st.pHandle, box, false);
  }
  return 0;
}

}  // namespace

std::span<const HelpRow> helpTable() {
  return kHelpTable;
}

void showHelp(Program& p, const HelpRow& row) {
  ui::UiModel& ui = p.ui();
  const int panel = p.st.*row.panel;
  const ui::Rect r = ui.GetCtrlBoundingRect(panel, row.id);
  int left = r.left + row.place.widths * r.width + row.place.dx;
  int top = r.top + row.place.heights * r.height + row.place.dy;
  if (panel != p.st.pHandle) {
    if (const ui::Panel* child = ui.panel(panel)) {
      left += child->bounds.left;
      top += child->bounds.top;
    }
  }
  ui.SetCtrlPos(p.st.pHandle, row.box, top, left);
  ui.SetVisible(p.st.pHandle, row.box, !ui.IsVisible(p.st.pHandle, row.box));
  // The text is set even when the box has just been hidden: it shows the last control asked.
  ui.ResetTextBox(p.st.pHandle, row.box, row.text);
}

int hideHelp(Program& p) {
  for (int box : {ids::main::HelpText1, ids::main::HelpText2}) {
    hideBox(p, box, ui::EVENT_LEFT_CLICK);
  }
  return 0;
}

int CC_HelpText1(Program& p, int, int, int event) {
  return hideBox(p, ids::main::HelpText1, event);
}

int CC_HelpText2(Program& p, int, int, int event) {
  return hideBox(p, ids::main::HelpText2, event);
}

void bindHelp(Program& p) {
  ui::CallbackRegistry& cb = p.rt.callbacks();
  cb.bind("CC_HelpText1", [&p](int panel, int control, int event, int, int) {
    return CC_HelpText1(p, panel, control, event);
  });
  cb.bind("CC_HelpText2", [&p](int panel, int control, int event, int, int) {
    return CC_HelpText2(p, panel, control, event);
  });
  for (const HelpRow& row : kHelpTable) {
    const std::string name = std::string("CC_") + row.control;
    const ui::Callback* bound = cb.find(name);
    ui::Callback next = bound ? *bound : ui::Callback();
    cb.bind(name, [&p, &row, next](int panel, int control, int event, int data1, int data2) {
      if (event == ui::EVENT_RIGHT_CLICK) {
        showHelp(p, row);
        return 0;
      }
      return next ? next(panel, control, event, data1, data2) : 0;
    });
  }
}

}  // namespace qrix
