#include "support/offline_program.h"

#include "program/panel_table.h"
#include "shell/startup.h"
#include "support/fuzz_check.h"

namespace qrix::fuzz {

OfflineProgram::OfflineProgram() : rt([](int id) { return panelTemplate(id); }), p(rt) {
  StartOptions offline;
  offline.portSetup = [](Program&) {};
  FUZZ_CHECK(StartUp(p, offline) == 0, "the panels load");
}

std::vector<double> OfflineProgram::controlValues() {
  std::vector<double> values;
  ui::UiModel& ui = rt.ui();
  for (int handle : ui.panelHandles()) {
    for (const auto& [id, control] : ui.panel(handle)->controls) {
      values.push_back(control.value);
    }
  }
  return values;
}

}  // namespace qrix::fuzz
