#include "link/block_reads.h"

#include <algorithm>
#include <string>

#include "link/commands.h"
#include "link/frame_codec.h"
#include "link/transport.h"
#include "shell/program.h"

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
  if (sendRequest(p, Discard::ForFrameExchange, st.parameter.cmd, st.parameter.arg, st.pp) ==
      kFrameBytes)
    p.showText("Line Ok!");
  st.graph_flag = 0;
  // Only a RUN answer ends the wait.
  if (waitUntil(p, TIMEOUT, [&st] { return st.graph_flag == 1; })) return 1;
  p.showText("Timeout RS232-Line!");
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
  serial::SerialLibrary& com = p.serial();
  st.parameter.cmd = cmd::kReadBlock;
  WordArray request{};
  request[0] = buffer;
  sendRequest(p, Discard::ForRawExchange, cmd::kReadBlock, start, request);
  p.showText(blockWaitingText(start));

  int n = 0;
  const auto queued = [&] {
    n = std::max(0, com.GetInQLen(st.com));
    return n >= kBlockBytes;
  };
  if (!waitUntil(p, TIMEOUT, queued)) p.setStatus("Timeout-RS-232 while reading 64 data-words!");

  // Never read more than the buffer holds; whatever is left is dropped with the block.
  st.nBytesR = n > 0 ? com.ComRd(st.com, st.szReadBuf.data(), std::min(n, kReadBufSize)) : 0;
  if (n > kReadBufSize) com.FlushInQ(st.com);
  int result = 0;
  Line128* target = bufferArray(st, buffer);
  if (st.nBytesR == kBlockBytes && n == kBlockBytes && target && start + kBlockWords <= MAXPOINT) {
    p.setStatus("Data[64] block received!");
    for (int i = 0; i < kBlockWords; ++i)
      (*target)[static_cast<size_t>(start + i)] = wordAt(st.szReadBuf.data(), 2 * i);
    result = 1;
  }
  p.showStatus();
  return result;
}

int readBlocks(Program& p, std::span<const BlockRequest> blocks) {
  removeReceiveNotification(p, p.st.com);
  discardQueues(p, Discard::ForFrameExchange);
  int ok = 1;
  for (const BlockRequest& b : blocks) {
    ok = ReadData64(p, b.start, b.buffer);
    if (!ok) break;
  }
  installReceiveNotification(p, p.st.com);
  return ok;
}

}  // namespace qrix
