#include "services/parameter_exchange.h"

#include "program/frame_codec.h"
#include "program/memory_target.h"
#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"

namespace qrix {

namespace {

// One parameter-frame request to RAM or EEPROM and the wait for its answer.
Reply requestParameterFrame(Program& p, std::uint16_t target, std::uint16_t frame) {
  ProgramState& st = p.st;
  st.parameter.cmd = target == kTargetEeprom ? cmd::kReadEeprom : cmd::kReadRam;
  // The request carries the frame's current program values.
  CopyVarsToPP(st.parameter, frame, st.pp);
  st.exchangeKind = link::ExchangeKind::ParameterRead;
  if (sendRequest(p, Discard::InputFirst, st.parameter.cmd, frame, st.pp) == kFrameBytes) {
    p.showStatusText("Waiting for parameter-frame ...");
  }
  // Only the answer to this request is a parameter frame: never a RUN answer still in flight,
  // nor a frame out of step with the line.
  return awaitFrame(p, link::ExchangeKind::ParameterRead, st.parameter.cmd, Accept::OwnEcho);
}

void pauseUnlessLast(Program& p, std::uint16_t frame, PauseAfter pause) {
  if (frame < 2 || pause == PauseAfter::Yes) {
    p.rt.Delay(0.1);
  }
}

}  // namespace

bool readParameterFrame(Program& p, std::uint16_t target, std::uint16_t frame, StoreAnswer store) {
  const Reply reply = requestParameterFrame(p, target, frame);
  if (!reply.answered()) {
    p.storeStatusText("Timeout-RS-232...");
  } else if (store == StoreAnswer::Yes) {
    CopyPPtoVars(reply.words(), frame, p.st.parameter);
    p.storeStatusText("Parameter-frame received! - Line Ok!");
  }
  p.showStoredStatus();
  return reply.answered();
}

bool readParameterRecord(Program& p, std::uint16_t target, PauseAfter pause) {
  bool allStored = true;
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    allStored &=
        readParameterFrame(p, target, frame, allStored ? StoreAnswer::Yes : StoreAnswer::No);
    pauseUnlessLast(p, frame, pause);
  }
  // A frame that timed out must not be hidden behind the success text of a later one.
  if (!allStored) {
    p.storeStatusText("Timeout-RS-232...");
    p.showStoredStatus();
  }
  return allStored;
}

std::optional<RecordWords> readParameterWords(Program& p, std::uint16_t target, PauseAfter pause) {
  // Decoded into a copy: the record and the panels keep what they hold.
  ParameterRecord read = p.st.parameter;
  bool allAnswered = true;
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    const Reply reply = requestParameterFrame(p, target, frame);
    if (allAnswered && reply.answered()) {
      CopyPPtoVars(reply.words(), frame, read);
    }
    allAnswered &= reply.answered();
    pauseUnlessLast(p, frame, pause);
  }
  if (!allAnswered) {
    p.storeStatusText("Timeout-RS-232...");
    return std::nullopt;
  }
  return recordToWords(read);
}

bool writeParameterRecord(Program& p, std::uint16_t target) {
  ProgramState& st = p.st;
  st.parameter.sync = cmd::kTxSync;
  st.parameter.cmd = target == kTargetEeprom ? cmd::kWriteEeprom : cmd::kWriteRam;
  static constexpr const char* kSentText[3] = {"Sending Para-Frame 0 ...",
                                               "Sending Para-Frame 1 ...", "Line Ok!"};
  bool allWritten = true;
  for (std::uint16_t frame = 0; frame < 3; ++frame) {
    st.parameter.arg = frame;
    CopyVarsToPP(st.parameter, frame, st.pp);
    st.exchangeKind = link::ExchangeKind::ParameterWrite;
    sendRequest(p, Discard::InputFirst, st.parameter.cmd, frame, st.pp);
    p.recordExchange(link::ExchangeKind::ParameterWrite, link::Outcome::NotAwaited);
    p.pump();
    allWritten &= st.nBytesW == kFrameBytes;
    if (st.nBytesW == kFrameBytes) {
      p.showStatusText(kSentText[frame]);
    }
    if (frame < 2) {
      p.rt.Delay(0.1);
    }
  }
  return allWritten;
}

}  // namespace qrix
