#include "services/flash_table.h"

#include <cstdio>

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

WordArray fillerPayload() {
  WordArray words;
  words.fill(kFiller);
  return words;
}

}  // namespace

bool clearFlash(Program& p) {
  p.st.exchangeKind = link::ExchangeKind::FlashClear;
  sendRequest(p, Discard::InputFirst, cmd::kClearFlash, 0, fillerPayload());
  p.showStatusText("clearing X-FLASH...");
  const bool answered =
      awaitFrame(p, link::ExchangeKind::FlashClear, cmd::kClearFlash, Accept::AnyFrame).answered();
  p.storeStatusText(answered ? "X-FLASH-cleared!" : "Timeout-RS-232...");
  p.showStoredStatus();
  return answered;
}

bool writeFlashBlock(Program& p, std::uint16_t offset, std::uint16_t page, const LinTable& table,
                     const FlashProgress& progress) {
  // A block outside the table would be read past its end; it is not sent.
  if (page < kFirstPage || page > kLastPage || offset > kPageWords - kBlockWords) {
    return false;
  }
  const int b = (page - kFirstPage) * kPageWords + offset;
  WordArray payload = fillerPayload();
  payload[0] = page;
  for (int k = 0; k < kBlockWords; ++k) {
    payload[static_cast<std::size_t>(1 + k)] = table[static_cast<std::size_t>(b + k)];
  }
  const Reply reply = exchangeFrame(p, link::ExchangeKind::FlashWrite, Discard::InputFirst,
                                    cmd::kWriteFlash, offset, payload, Accept::AnyFrame);

  bool confirmed = false;
  if (reply.answered()) {
    if (progress.answered) {
      progress.answered(b);
    }
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
  if (confirmed && progress.confirmed) {
    progress.confirmed(b);
  }
  p.showStoredStatus();
  return confirmed;
}

FlashTransfer writeFlashTable(Program& p, const LinTable& table, const FlashProgress& progress) {
  ProgramState& st = p.st;
  FlashTransfer transfer;
  bool complete = clearFlash(p);
  int block = 0;
  int timeoutsInARow = 0;
  for (; block < kBlocks && !p.rt.quitRequested(); ++block) {
    // A line that is gone or a sensor that stopped answering would only cost a time-out per
    // frame left: nothing more reaches the flash either way.
    if (serialLineLost(p) || timeoutsInARow == kTimeoutsToGiveUp) {
      break;
    }
    const auto page = static_cast<std::uint16_t>(kFirstPage + block / kBlocksPerPage);
    const auto offset = static_cast<std::uint16_t>(block % kBlocksPerPage * kBlockWords);
    const std::uint64_t timeoutsBefore = flashTimeouts(st);
    // A lost block is not sent again; the writes go on and the outcome says what was lost.
    if (writeFlashBlock(p, offset, page, table, progress)) {
      ++transfer.confirmed;
    } else {
      complete = false;
    }
    timeoutsInARow = flashTimeouts(st) > timeoutsBefore ? timeoutsInARow + 1 : 0;
  }
  transfer.complete = complete && block == kBlocks;
  p.showStatusText(transfer.complete ? "X-FLASH Data successfully written!"
                                     : "X-FLASH write incomplete!");
  return transfer;
}

}  // namespace qrix
