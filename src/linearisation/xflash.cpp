#include "linearisation/xflash.h"

#include <cstdio>

#include "program/line_owner.h"
#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"

namespace qrix {

namespace {

constexpr std::uint16_t kFirstPage = 2;
constexpr std::uint16_t kLastPage = 9;
constexpr std::uint16_t kPageWords = 256;
constexpr std::uint16_t kBlockWords = 8;
constexpr std::uint16_t kFiller = 0x00AA;
constexpr int kBlocksPerPage = kPageWords / kBlockWords;
constexpr int kBlocks = kLinWords / kBlockWords;
static_assert(kBlocks == kXFlashFrames);
constexpr int kTimeoutsToGiveUp = 3;

std::uint64_t flashTimeouts(const ProgramState& st) {
  return st.health.counters(link::ExchangeKind::FlashWrite).timeouts;
}

int progressGraph(std::uint16_t sensor) {
  return sensor == kXFlashSlave ? ids::main::GRAPHBarSlave : ids::main::GRAPHBarMaster;
}

int writeButton(std::uint16_t sensor) {
  return sensor == kXFlashSlave ? ids::calib::BTNWriteXFSL : ids::calib::BTNWriteXFMA;
}

WordArray fillerPayload() {
  WordArray words;
  words.fill(kFiller);
  return words;
}

int writeXFlashButton(Program& p, int event, std::uint16_t sensor) {
  if (event != ui::EVENT_COMMIT) return 0;
  // The transfer owns the line from the dialog to the last frame: nothing else may send.
  ExclusiveLineClaim claim(p, LineUser::Flash);
  if (!claim) return 0;
  if (ReadLinDataFromFile(p, p.st.linArray) == kLinFileLoaded) transferTable(p, sensor);
  p.ui().SetVisible(p.st.pCalib, writeButton(sensor), false);
  return 0;
}

}  // namespace

int ClearXFLASH(Program& p) {
  p.st.exchangeKind = link::ExchangeKind::FlashClear;
  sendRequest(p, Discard::InputFirst, cmd::kClearFlash, 0, fillerPayload());
  p.showStatusText("clearing X-FLASH...");
  const bool answered =
      awaitFrame(p, link::ExchangeKind::FlashClear, cmd::kClearFlash, Accept::AnyFrame).answered();
  p.storeStatusText(answered ? "X-FLASH-cleared!" : "Timeout-RS-232...");
  p.showStoredStatus();
  return answered ? 1 : 0;
}

bool WriteXFLASH(Program& p, std::uint16_t offset, std::uint16_t page, const LinTable& table,
                 std::uint16_t sensor) {
  // A block outside the table would be read past its end; it is not sent.
  if (page < kFirstPage || page > kLastPage || offset > kPageWords - kBlockWords) return false;
  ProgramState& st = p.st;
  const int b = (page - kFirstPage) * kPageWords + offset;
  WordArray payload = fillerPayload();
  payload[0] = page;
  for (int k = 0; k < kBlockWords; ++k)
    payload[static_cast<std::size_t>(1 + k)] = table[static_cast<std::size_t>(b + k)];
  const Reply reply = exchangeFrame(p, link::ExchangeKind::FlashWrite, Discard::InputFirst,
                                    cmd::kWriteFlash, offset, payload, Accept::AnyFrame);

  bool confirmed = false;
  if (reply.answered()) {
    p.ui().SetCtrlVal(st.pHandle, ids::main::NUMAnaMax, b);
    const WordArray echo = reply.words();
    const std::uint16_t echoOffset = echo[0], echoPage = echo[1];
    if (echoPage >= kFirstPage && echoPage <= kLastPage) {
      char text[32];
      std::snprintf(text, sizeof text, "X-FLASH-write OK: PAGE%u ...", unsigned{echoPage});
      p.storeStatusText(text);
    }
    confirmed = echoOffset == offset && echoPage == page;
  } else {
    p.storeStatusText("Timeout-RS-232...");
  }
  // The bar only grows with confirmed blocks, so after a loss it keeps showing how far the
  // flash is known to be written.
  if (confirmed)
    p.ui().PlotRectangle(st.pHandle, progressGraph(sensor), 1.0, 0.0, b, 1.0, ui::kGreen,
                         ui::kGreen);
  p.showStoredStatus();
  return confirmed;
}

FlashTransfer transferTable(Program& p, std::uint16_t sensor) {
  ProgramState& st = p.st;
  FlashTransfer transfer;
  // Closing the main window ends the transfer before its next frame.
  if (p.rt.quitRequested()) return transfer;
  bool complete = ClearXFLASH(p) == 1;
  const int graph = progressGraph(sensor);
  p.ui().SetAxisRange(st.pHandle, graph, ui::Axis::X, 1.0, st.ccdvirtpixel);
  p.ui().DeleteGraphPlot(st.pHandle, graph, -1);
  int block = 0;
  int timeoutsInARow = 0;
  for (; block < kBlocks && !p.rt.quitRequested(); ++block) {
    // A line that is gone or a sensor that stopped answering would only cost a time-out per
    // frame left: nothing more reaches the flash either way.
    if (serialLineLost(p) || timeoutsInARow == kTimeoutsToGiveUp) break;
    const auto page = static_cast<std::uint16_t>(kFirstPage + block / kBlocksPerPage);
    const auto offset = static_cast<std::uint16_t>(block % kBlocksPerPage * kBlockWords);
    const std::uint64_t timeoutsBefore = flashTimeouts(st);
    // A lost block is not sent again; the writes go on and the outcome says what was lost.
    if (WriteXFLASH(p, offset, page, st.linArray, sensor))
      ++transfer.confirmed;
    else
      complete = false;
    timeoutsInARow = flashTimeouts(st) > timeoutsBefore ? timeoutsInARow + 1 : 0;
  }
  transfer.complete = complete && block == kBlocks;
  if (transfer.complete) {
    p.ui().PlotRectangle(st.pHandle, graph, 1.0, 0.0, st.ccdvirtpixel, 1.0, ui::kGrey, ui::kGrey);
    p.showStatusText("X-FLASH Data successfully written!");
  } else {
    p.showStatusText("X-FLASH write incomplete!");
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
  if (p.ui().GetCtrlVal(p.st.pPopUp, ids::popup::NEDITRecTime) != kXFlashAccessCode) return;
  p.ui().SetVisible(p.st.pCalib, ids::calib::BTNWriteXFSL, true);
  p.ui().SetVisible(p.st.pCalib, ids::calib::BTNWriteXFMA, true);
}

}  // namespace qrix
