#include "services/block_reads.h"

#include <algorithm>
#include <string>

#include "program/frame_codec.h"
#include "program/program.h"
#include "program/transport.h"
#include "qrix/link/commands.h"
#include "services/run_exchange.h"

namespace qrix {

Line128* bufferArray(ProgramState& st, std::uint16_t buffer) {
  switch (buffer) {
    case kMasterVideo: return &st.adcbufA;
    case kSlaveVideo: return &st.adcbufB;
    case kMasterData: return &st.mvalBUFA;
    case kSlaveData: return &st.mvalBUFB;
    default: return nullptr;
  }
}

int PushGETRAW(Program& p) {
  ProgramState& st = p.st;
  st.parameter.cmd = cmd::kRun;
  st.parameter.arg = 0;
  st.exchangeKind = link::ExchangeKind::Run;
  if (sendRequest(p, Discard::InputFirst, st.parameter.cmd, st.parameter.arg, st.pp) ==
      kFrameBytes) {
    p.showStatusText("Line Ok!");
  }
  st.graph_flag = 0;
  // Only a RUN answer ends the wait.
  if (awaitFrame(p, link::ExchangeKind::Run, cmd::kRun, Accept::RunAnswer).answered()) {
    return 1;
  }
  p.showStatusText("Timeout RS232-Line!");
  st.stop_flag = 1;
  return 0;
}

namespace {
std::string blockWaitingText(std::uint16_t start) {
  switch (start) {
    case 0: return "Waiting for Data[64] Block 0 ...";
    case 64: return "Waiting for Data[64] Block 1 ...";
    case 128: return "Waiting for Data[64] Block 2 ...";
    case 192: return "Waiting for Data[64] Block 3 ...";
    default: return "Waiting for Data[64] Block x ...";
  }
}
}  // namespace

int ReadData64(Program& p, std::uint16_t start, std::uint16_t buffer) {
  ProgramState& st = p.st;
  st.parameter.cmd = cmd::kReadBlock;
  WordArray request{};
  request[0] = buffer;
  st.exchangeKind = link::ExchangeKind::Block;
  sendRequest(p, Discard::OutputFirst, cmd::kReadBlock, start, request);
  p.showStatusText(blockWaitingText(start));

  // The block carries no sync word: bytes beyond its length (noise ahead of it) mean its words
  // would be shifted, and it is dropped as a surplus.
  const RawReply reply = awaitRaw(p, link::ExchangeKind::Block, kBlockBytes, WaitMode::PumpEvents);
  if (reply.queued < kBlockBytes) {
    p.storeStatusText("Timeout-RS-232 while reading 64 data-words!");
  }
  st.nBytesR = static_cast<int>(reply.bytes.size());
  std::copy(reply.bytes.begin(), reply.bytes.end(), st.szReadBuf.begin());
  int result = 0;
  Line128* target = bufferArray(st, buffer);
  if (reply.answered() && target && start + kBlockWords <= MAXPOINT) {
    p.storeStatusText("Data[64] block received!");
    for (int i = 0; i < kBlockWords; ++i) {
      (*target)[static_cast<size_t>(start + i)] = wordAt(reply.bytes.data(), 2 * i);
    }
    result = 1;
  }
  p.showStoredStatus();
  return result;
}

int readBlocks(Program& p, std::span<const BlockRequest> blocks) {
  removeReceiveNotification(p, p.st.com);
  discardQueues(p, Discard::InputFirst);
  int ok = 1;
  for (const BlockRequest& b : blocks) {
    ok = ReadData64(p, b.start, b.buffer);
    if (!ok) {
      break;
    }
  }
  installReceiveNotification(p, p.st.com);
  return ok;
}

namespace {
// Slave video first, then master video.
constexpr BlockRequest kVideoBlocks[] = {
    {0, kSlaveVideo}, {64, kSlaveVideo}, {0, kMasterVideo}, {64, kMasterVideo}};
// Master data first, then slave data.
constexpr BlockRequest kDataBlocks[] = {
    {0, kMasterData}, {64, kMasterData}, {0, kSlaveData}, {64, kSlaveData}};
}  // namespace

bool readVideoPass(Program& p) {
  if (PushGETRAW(p) != 1) {
    return false;
  }
  CopyPPtoRAWVars(p);
  if (readBlocks(p, kVideoBlocks) != 1) {
    return false;
  }
  p.st.videoPassRead = true;
  return true;
}

bool readDataPass(Program& p) {
  if (PushGETRAW(p) != 1) {
    return false;
  }
  CopyPPtoRAWVars(p);
  if (readBlocks(p, kDataBlocks) != 1) {
    return false;
  }
  p.st.dataPassRead = true;
  return true;
}

}  // namespace qrix
