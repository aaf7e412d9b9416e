#include "shell/panel_toggles.h"

#include "program/program.h"

namespace qrix {

namespace {

struct Tab {
  ParaPanel which;
  int toggle;
  int ProgramState::*panel;
};

constexpr Tab kTabs[] = {
    {ParaPanel::Para0, ids::main::TOGGBTN_Para0, &ProgramState::pPara0},
    {ParaPanel::Para1, ids::main::TOGGBTN_Para1, &ProgramState::pPara1},
    {ParaPanel::Para2, ids::main::TOGGBTN_Para2, &ProgramState::pPara2},
    {ParaPanel::Calib, ids::main::TOGGBTN_Calib, &ProgramState::pCalib},
};

}  // namespace

int paraToggle(Program& p, ParaPanel which, int event) {
  ui::UiModel& ui = p.ui();
  if (event == ui::EVENT_LEFT_CLICK) {
    for (const Tab& t : kTabs) {
      if (t.which != which) {
        ui.SetCtrlVal(p.st.pHandle, t.toggle, 0);
      }
    }
  } else if (event == ui::EVENT_COMMIT) {
    for (const Tab& t : kTabs) {
      if (t.which != which) {
        ui.HidePanel(p.st.*t.panel);
      }
    }
    for (const Tab& t : kTabs) {
      if (t.which == which) {
        ui.DisplayPanel(p.st.*t.panel);
      }
    }
  }
  return 0;
}

}  // namespace qrix
