#include "sensor_link/identification.h"

#include "program/panel_table.h"
#include "program/program.h"
#include "services/identify.h"

namespace qrix {

namespace {

// Old firmware has no trigger threshold and no measurement buffer; newer firmware gets the
// controls back, also after an old sensor was identified on the same run.
void configureForFirmware(Program& p) {
  ui::UiModel& ui = p.ui();
  const ProgramState& st = p.st;
  const bool old = st.softversion <= 304;
  ui.SetDimmed(st.pPara1, ids::sensor::NUMTriggThreshold, old);
  ui.SetDimmed(st.pPara2, ids::sensor::NUMTriggThreshold, old);
  ui.SetVisible(st.pHandle, ids::main::BTNData, !old);
  ui.ReplaceListItem(
      st.pPara0, ids::para0::DROPtrigmode, 3,
      old ? "NOT-USED" : defaultListLabel(ids::kPara0Panel, ids::para0::DROPtrigmode, 3), 3);
}

}  // namespace

int CheckComLine(Program& p) {
  return checkLine(p) ? 1 : 0;
}

int GetHARDWAREInfo(Program& p) {
  const std::optional<HardwareWords> hardware = readHardwareInfo(p);
  if (!hardware) {
    return 0;
  }
  showHardwareInWindow(p, *hardware);
  return 1;
}

int GetVERSIONInfo(Program& p) {
  return readFirmwareText(p).queued;
}

void showHardwareInWindow(Program& p, const HardwareWords& hardware) {
  ui::UiModel& ui = p.ui();
  const ProgramState& st = p.st;
  // The axes span the count as reported, also one the program falls back from.
  for (int graph : {ids::main::GRAPHVideoMaster, ids::main::GRAPHVideoSlave}) {
    ui.SetAxisRange(st.pHandle, graph, ui::Axis::X, 1.0, hardware.ccdvirtpixel);
  }
  const CcdDescription ccd = describeCcd(hardware);
  for (int line = 0; line < 4; ++line) {
    ui.ReplaceTextBoxLine(st.pCalib, ids::calib::TEXTCCDInfo, line,
                          ccd.lines[static_cast<size_t>(line)]);
  }
  if (ccd.mode0) {
    for (int panel : {st.pPara1, st.pPara2}) {
      ui.ReplaceListItem(panel, ids::sensor::DROPopmode, 0, ccd.mode0, 0);
      ui.ReplaceListItem(panel, ids::sensor::DROPopmode, 1, ccd.mode1, 1);
    }
  }
  configureForFirmware(p);
}

}  // namespace qrix
