#include "link/transport.h"

#include "link/frame_codec.h"
#include "shell/program.h"

namespace qrix {

void RX_Receive_Function(Program& p, int port, int mask) {
  if (!(mask & serial::LWRS_RECEIVE)) return;
  ProgramState& st = p.st;
  st.nBytesR = p.serial().ComRd(port, st.szReadBuf.data(), kFrameBytes);
  if (st.nBytesR < kFrameBytes) return;  // the line failed under us; no frame to take
  st.graph_flag = GetRxBuf(st);
  st.rx_flag = 1;
  p.serial().FlushInQ(port);
}

void installReceiveNotification(Program& p, int port) {
  p.serial().InstallComCallback(
      port, eventMask, kFrameBytes, 0x55,
      [&p](int com, int mask, void*) { RX_Receive_Function(p, com, mask); }, nullptr);
}

void removeReceiveNotification(Program& p, int port) {
  p.serial().InstallComCallback(port, eventMask, kFrameBytes, 0x55, nullptr, nullptr);
}

void discardQueues(Program& p, Discard order) {
  serial::SerialLibrary& com = p.serial();
  if (order == Discard::ForFrameExchange) {
    com.FlushInQ(p.st.com);
    com.FlushOutQ(p.st.com);
  } else {
    com.FlushOutQ(p.st.com);
    com.FlushInQ(p.st.com);
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
