#include "linearisation/xflash.h"

#include "program/line_owner.h"
#include "program/program.h"

namespace qrix {

namespace {

int progressGraph(std::uint16_t sensor) {
  return sensor == kXFlashSlave ? ids::main::GRAPHBarSlave : ids::main::GRAPHBarMaster;
}

int writeButton(std::uint16_t sensor) {
  return sensor == kXFlashSlave ? ids::calib::BTNWriteXFSL : ids::calib::BTNWriteXFMA;
}

int writeXFlashButton(Program& p, int event, std::uint16_t sensor) {
  if (event != ui::EVENT_COMMIT) {
    return 0;
  }
  // The transfer owns the line from the dialog to the last frame: nothing else may send.
  ExclusiveLineClaim claim(p, LineUser::Flash);
  if (!claim) {
    return 0;
  }
  if (ReadLinDataFromFile(p, p.st.linArray) == kLinFileLoaded) {
    transferTable(p, sensor);
  }
  p.ui().SetVisible(p.st.pCalib, writeButton(sensor), false);
  return 0;
}

// The progress bar grows with confirmed blocks only, so after a loss it keeps showing how far
// the flash is known to be written; the analog maximum shows every block answered.
FlashProgress progressInWindow(Program& p, std::uint16_t sensor) {
  const int panel = p.st.pHandle;
  return {[&p, panel](int word) { p.ui().SetCtrlVal(panel, ids::main::NUMAnaMax, word); },
          [&p, panel, sensor](int word) {
            p.ui().PlotRectangle(panel, progressGraph(sensor), 1.0, 0.0, word, 1.0, ui::kGreen,
                                 ui::kGreen);
          }};
}

}  // namespace

int ClearXFLASH(Program& p) {
  return clearFlash(p) ? 1 : 0;
}

bool WriteXFLASH(Program& p, std::uint16_t offset, std::uint16_t page, const LinTable& table,
                 std::uint16_t sensor) {
  return writeFlashBlock(p, offset, page, table, progressInWindow(p, sensor));
}

FlashTransfer transferTable(Program& p, std::uint16_t sensor) {
  ProgramState& st = p.st;
  // Closing the main window ends the transfer before its next frame.
  if (p.rt.quitRequested()) {
    return {};
  }
  const int graph = progressGraph(sensor);
  p.ui().SetAxisRange(st.pHandle, graph, ui::Axis::X, 1.0, st.ccdvirtpixel);
  p.ui().DeleteGraphPlot(st.pHandle, graph, -1);
  const FlashTransfer transfer = writeFlashTable(p, st.linArray, progressInWindow(p, sensor));
  if (transfer.complete) {
    p.ui().PlotRectangle(st.pHandle, graph, 1.0, 0.0, st.ccdvirtpixel, 1.0, ui::kGrey, ui::kGrey);
  }
  return transfer;
}

int CC_BTNWriteXFSL(Program& p, int, int, int event) {
  return writeXFlashButton(p, event, kXFlashSlave);
}

int CC_BTNWriteXFMA(Program& p, int, int, int event) {
  return writeXFlashButton(p, event, kXFlashMaster);
}

void revealXFlashButtons(Program& p) {
  if (p.ui().GetCtrlVal(p.st.pPopUp, ids::popup::NEDITRecTime) != kXFlashAccessCode) {
    return;
  }
  p.ui().SetVisible(p.st.pCalib, ids::calib::BTNWriteXFSL, true);
  p.ui().SetVisible(p.st.pCalib, ids::calib::BTNWriteXFMA, true);
}

}  // namespace qrix
