#include "link/transport.h"

#include <algorithm>
#include <array>

#include "link/frame_codec.h"
#include "shell/program.h"

namespace qrix {

void RX_Receive_Function(Program& p, int port, int mask) {
  if (!(mask & serial::LWRS_RECEIVE)) return;
  ProgramState& st = p.st;
  serial::SerialLibrary& com = p.serial();
  std::array<std::uint8_t, kReadBufSize> bytes;
  const int queued = std::min(com.GetInQLen(port), kReadBufSize);
  const int got = queued > 0 ? com.ComRd(port, bytes.data(), queued) : 0;
  if (got <= 0) return;  // the line failed under us; no frame to take
  const std::uint64_t droppedBefore = st.reader.droppedBytes();
  st.reader.push(bytes.data(), static_cast<std::size_t>(got));
  const std::optional<link::ReceivedFrame> frame = st.reader.next();
  st.health.droppedBytes(st.exchangeKind, st.reader.droppedBytes() - droppedBefore);
  if (!frame) return;
  std::copy(frame->bytes.begin(), frame->bytes.end(), st.szReadBuf.begin());
  st.nBytesR = kFrameBytes;
  st.graph_flag = GetRxBuf(st);
  st.rx_flag = 1;
  // One frame per notification: whatever else came with it is discarded.
  discardInput(p);
}

void installReceiveNotification(Program& p, int port) {
  // Every received byte goes to the frame reader at once, so that bytes dropped ahead of a
  // frame never hold a frame back.
  p.serial().InstallComCallback(
      port, eventMask, 1, 0x55,
      [&p](int com, int mask, void*) { RX_Receive_Function(p, com, mask); }, nullptr);
}

void removeReceiveNotification(Program& p, int port) {
  p.serial().InstallComCallback(port, eventMask, 1, 0x55, nullptr, nullptr);
}

void discardInput(Program& p) {
  p.serial().FlushInQ(p.st.com);
  p.st.reader.clear();
}

void discardQueues(Program& p, Discard order) {
  serial::SerialLibrary& com = p.serial();
  if (order == Discard::ForFrameExchange) {
    discardInput(p);
    com.FlushOutQ(p.st.com);
  } else {
    com.FlushOutQ(p.st.com);
    discardInput(p);
  }
}

int writeFrame(Program& p) {
  p.st.nBytesW = p.serial().ComWrt(p.st.com, p.st.szWriteBuf.data(), kFrameBytes);
  return p.st.nBytesW;
}

int sendRequest(Program& p, Discard order, std::uint16_t command, std::uint16_t argument,
                const WordArray& payload) {
  discardQueues(p, order);
  p.st.rx_flag = 0;
  FillTxBuf(p.st, command, argument, payload);
  return writeFrame(p);
}

double elapsedSince(Program& p, double start) {
  return p.rt.Timer() - start;
}

bool waitUntil(Program& p, double seconds, const std::function<bool()>& done, WaitMode mode) {
  const double start = p.rt.Timer();
  for (;;) {
    if (done()) return true;
    if (elapsedSince(p, start) > seconds) return false;
    if (mode == WaitMode::PumpEvents)
      p.pump();
    else
      p.rt.Delay(0.001);
  }
}

bool waitForFrame(Program& p) {
  return waitUntil(p, TIMEOUT, [&p] { return p.st.rx_flag == 1; });
}

int WaitRxFull(Program& p) {
  if (waitForFrame(p)) return 1;
  p.setStatus("Timeout-RS-232...");
  return 0;
}

}  // namespace qrix
